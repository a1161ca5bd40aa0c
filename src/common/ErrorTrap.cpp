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
    platform().showMessage(
        QString::number(error.number()) + QStringLiteral(": ") + error.description(), kAppTitle,
        MessageKind::Plain);
}

bool trapErrors(const std::function<void()>& work, const std::function<void()>& beforeReport) {
    const std::optional<AppError> error = catchError(work);
    if (!error) {
        return false;
    }
    if (beforeReport) {
        beforeReport();
    }
    reportError(*error);
    return true;
}

void resumeAfterObjectClosed(const std::function<void()>& step) {
    try {
        step();
    } catch (const AppError& error) {
        if (error.number() != err::kObjectClosed) {
            throw;
        }
    }
}

}  // namespace kwiklet
