#pragma once

// The errors the store raises beyond the shared ones in common/AppError.h. Numbers and
// texts are those the program has always shown.

#include "common/AppError.h"

namespace kwiklet {

namespace err {
inline constexpr int kNoCurrentRecord = 3021;  // reading past the last entry
inline constexpr int kItemNotFound = 3265;     // a table without the name or path field
}  // namespace err

namespace storeerror {

inline AppError objectClosed() {
    return AppError(err::kObjectClosed,
                    QStringLiteral("Operation is not allowed when the object is closed."));
}

inline AppError invalidConnection() {
    return AppError(err::kInvalidConnection,
                    QStringLiteral("The connection cannot be used to perform this operation. It "
                                   "is either closed or invalid in this context."));
}

inline AppError noCurrentRecord() {
    return AppError(err::kNoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."));
}

inline AppError itemNotFound() {
    return AppError(err::kItemNotFound,
                    QStringLiteral("Item cannot be found in the collection corresponding to "
                                   "the requested name or ordinal."));
}

}  // namespace storeerror
}  // namespace kwiklet
