#pragma once

// How event handlers deal with run-time errors. Every handler that can fail runs its
// work through one of these, so the user always sees the same "number: description"
// box and no error escapes into the window system.

#include "common/AppError.h"

#include <functional>
#include <optional>
#include <span>

namespace kwiklet {

inline const QString kAppTitle = QStringLiteral("Kwiklet");

// Runs the work and returns the error it raised, if any. Errors other than AppError
// (running out of memory, a broken invariant) are turned into one.
std::optional<AppError> catchError(const std::function<void()>& work);

// Shows "number: description" with an OK button, no icon and the title "Kwiklet".
void reportError(const AppError& error);

// Runs the work; an error ends it and is reported.
void trapErrors(const std::function<void()>& work);

// A handler written as steps, for handlers that recover from some errors: each step
// says whether the handler goes on, and the recovery decides what a failed step leads to.
enum class StepResult { Continue, EndHandler };
enum class Recovery { RetryStep, NextStep, ReportAndEnd };
using HandlerStep = std::function<StepResult()>;
using RecoveryPolicy = std::function<Recovery(const AppError& error, int retriesSoFar)>;

// Returns true when an error ended the handler.
bool runSteps(std::span<const HandlerStep> steps, const RecoveryPolicy& recover);

}  // namespace kwiklet
