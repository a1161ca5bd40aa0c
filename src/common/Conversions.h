#pragma once

#include <QString>

#include <cstdint>

namespace kwiklet {

// Text-to-number conversions for stored settings. Leading and trailing blanks are
// ignored and fractions round half to even, so "300", " 300 " and "299.5" all give 300.
// Text that is not a number raises err::kTypeMismatch; a number outside the
// target type raises err::kOverflow.
std::int32_t toInt32(const QString& text);
std::int16_t toInt16(const QString& text);

// A stored truth value: the words True or False (letter case not counting), or a number,
// 0 being false and any other true. Anything else raises err::kTypeMismatch.
bool toBoolean(const QString& text);

}  // namespace kwiklet
