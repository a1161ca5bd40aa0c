#include "common/Conversions.h"

#include "common/AppError.h"
#include "common/Units.h"

#include <cmath>

namespace kwiklet {
namespace {

double toNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = 0;
    if (trimmed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        value = static_cast<double>(trimmed.mid(2).toLongLong(&ok, 16));
    } else {
        value = trimmed.toDouble(&ok);
    }
    if (!ok || !std::isfinite(value)) {
        throw AppError(err::kTypeMismatch, QStringLiteral("Type mismatch"));
    }
    return value;
}

[[noreturn]] void raiseOverflow() {
    throw AppError(err::kOverflow, QStringLiteral("Overflow"));
}

double toRoundedNumber(const QString& text) {
    return std::nearbyint(toNumber(text));  // the default rounding mode rounds half to even
}

}  // namespace

std::int32_t toInt32(const QString& text) {
    const double value = toRoundedNumber(text);
    if (!units::fitsInt32(value)) {
        raiseOverflow();
    }
    return static_cast<std::int32_t>(value);
}

std::int16_t toInt16(const QString& text) {
    const double value = toRoundedNumber(text);
    if (!units::fitsInt16(value)) {
        raiseOverflow();
    }
    return static_cast<std::int16_t>(value);
}

bool toBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return toNumber(text) != 0;
}

}  // namespace kwiklet
