// Stored settings are text; these conversions decide what a user's value means.

#include "common/AppError.h"
#include "common/Conversions.h"

#include <gtest/gtest.h>

#include <optional>

namespace kwiklet {
namespace {

std::optional<int> errorOf(const std::function<void()>& convert) {
    try {
        convert();
    } catch (const AppError& error) {
        return error.number();
    }
    return std::nullopt;
}

TEST(ConversionsTest, TextToNumbers) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> int32;  // nothing: raises
        std::optional<std::int16_t> int16;
    };
    const Case cases[] = {
        {"300", 300, 300},
        {" -1 ", -1, -1},
        {"299.5", 300, 300},  // halves round to even
        {"300.5", 300, 300},
        {"-2.5", -2, -2},
        {"&H10", 16, 16},
        {"32767", 32767, 32767},
        {"32768", 32768, std::nullopt},
        {"-2147483648", -2147483648, std::nullopt},
        {"2147483648", std::nullopt, std::nullopt},
        {"1e3", 1000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromLatin1(c.text);
        if (c.int32) {
            EXPECT_EQ(toInt32(text), *c.int32);
        } else {
            EXPECT_EQ(errorOf([&] { toInt32(text); }), err::kOverflow);
        }
        if (c.int16) {
            EXPECT_EQ(toInt16(text), *c.int16);
        } else {
            EXPECT_EQ(errorOf([&] { toInt16(text); }), err::kOverflow);
        }
    }
}

TEST(ConversionsTest, TextThatIsNoNumberIsATypeMismatch) {
    for (const char* text : {"", "  ", "abc", "12abc", "nan", "inf", "&Hzz"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(errorOf([&] { toInt32(QString::fromLatin1(text)); }), err::kTypeMismatch);
        EXPECT_EQ(errorOf([&] { toInt16(QString::fromLatin1(text)); }), err::kTypeMismatch);
    }
}

}  // namespace
}  // namespace kwiklet
