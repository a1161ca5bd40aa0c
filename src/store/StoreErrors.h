#pragma once

// The errors the store raises beyond the shared ones in common/AppError.h. Numbers and
// texts are those users of the old data engine know.

#include "common/AppError.h"

namespace kwiklet {

namespace err {
inline constexpr int kNoCurrentRecord = 3021;   // moving or reading past the last row
inline constexpr int kIllegalOperation = 3219;  // an operation out of its order
inline constexpr int kNotUpdatable = 3251;      // adding rows to a recordset that cannot take them
inline constexpr int kItemNotFound = 3265;      // no field of that name
inline constexpr int kObjectOpen = 3705;        // opening what is already open
inline constexpr int kProviderNotFound = 3706;  // a connection string naming another engine
}  // namespace err

namespace storeerror {

inline AppError objectClosed() {
    return AppError(err::kObjectClosed,
                    QStringLiteral("Operation is not allowed when the object is closed."));
}

inline AppError objectOpen() {
    return AppError(err::kObjectOpen,
                    QStringLiteral("Operation is not allowed when the object is open."));
}

inline AppError invalidConnection() {
    return AppError(err::kInvalidConnection,
                    QStringLiteral("The connection cannot be used to perform this operation. It "
                                   "is either closed or invalid in this context."));
}

}  // namespace storeerror
}  // namespace kwiklet
