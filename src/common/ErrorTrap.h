#pragma once

// How event handlers deal with run-time errors. Every handler that can fail runs its
// work through trapErrors, so the user always sees the same "number: description" box
// and no error escapes into the window system.

#include "common/AppError.h"

#include <functional>
#include <optional>

namespace kwiklet {

inline const QString kAppTitle = QStringLiteral("Kwiklet");

// Runs the work and returns the error it raised, if any. Errors other than AppError
// (running out of memory, a broken invariant) are turned into one.
std::optional<AppError> catchError(const std::function<void()>& work);

// Shows "number: description" with an OK button, no icon and the title "Kwiklet".
void reportError(const AppError& error);

// Runs the work; an error ends it and is reported. beforeReport, when given, runs first:
// it takes away what would stand between the user and the box (a wait window). True
// when an error was reported.
bool trapErrors(const std::function<void()>& work, const std::function<void()>& beforeReport = {});

// Runs one step of a handler that carries on after a closed-object error
// (err::kObjectClosed): that error is dropped and the handler goes on with its next
// step. Any other error passes to the handler's trap.
void resumeAfterObjectClosed(const std::function<void()>& step);

}  // namespace kwiklet
