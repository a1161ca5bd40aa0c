#pragma once

#include "common/ErrorTrap.h"

namespace kwiklet::test {

// What the work raised as a message box shows it, "<number>: <description>"; empty when
// it raised nothing.
inline QString errorOf(const std::function<void()>& work) {
    const std::optional<AppError> error = catchError(work);
    return error ? QString::number(error->number()) + ": " + error->description() : QString();
}

// The number of the error the work raised; 0 when it raised none.
inline int errorNumberOf(const std::function<void()>& work) {
    return catchError(work).value_or(AppError(0, QString())).number();
}

}  // namespace kwiklet::test
