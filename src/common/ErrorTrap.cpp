#include "common/ErrorTrap.h"

#include "platform/Platform.h"

#include <new>

namespace kwiklet {
namespace {
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;
}  // namespace

std::optional<AppError> catchError(const std::function<void()>& work) {
    try {
        work();
    } catch (const AppError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return AppError(kOutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        return AppError(
            kInternalError,
            QStringLiteral("Internal error (%1)").arg(QString::fromLocal8Bit(error.what())));
    }
    return std::nullopt;
}

void reportError(const AppError& error) {
    platform().messageBox(
        QString::number(error.number()) + QStringLiteral(": ") + error.description(),
        MessageStyle::Plain, kAppTitle);
}

void trapErrors(const std::function<void()>& work) {
    if (auto error = catchError(work)) {
        reportError(*error);
    }
}

bool runSteps(std::span<const HandlerStep> steps, const RecoveryPolicy& recover) {
    for (std::size_t index = 0; index < steps.size();) {
        StepResult result = StepResult::Continue;
        int retries = 0;
        for (;;) {
            const auto error = catchError([&] { result = steps[index](); });
            if (!error) {
                break;
            }
            const Recovery recovery = recover(*error, retries);
            if (recovery == Recovery::RetryStep) {
                ++retries;
                continue;
            }
            if (recovery == Recovery::ReportAndEnd) {
                reportError(*error);
                return true;
            }
            break;  // NextStep
        }
        if (result == StepResult::EndHandler) {
            return false;
        }
        ++index;
    }
    return false;
}

}  // namespace kwiklet
