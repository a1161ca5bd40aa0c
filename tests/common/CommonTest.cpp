// Stored settings are text: the conversions decide what a user's value means. A handler's
// error of any kind leads to the shared message box.

#include "common/Conversions.h"
#include "common/ErrorTrap.h"
#include "support/Errors.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kwiklet {
namespace {

// The number the conversion makes of the text, or '#' and the number of the error it raises.
template <typename Number>
std::string outcome(Number (*convert)(const QString&), const char* text) {
    std::string result;
    const int error = test::errorNumberOf([&] { result = std::to_string(convert(text)); });
    return error == 0 ? result : '#' + std::to_string(error);
}

TEST(ConversionsTest, TextToNumbers) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // text, as a 32-bit number, as a 16-bit number
        {"300", "300", "300"},
        {" -1 ", "-1", "-1"},
        {"299.5", "300", "300"},  // halves round to even
        {"300.5", "300", "300"},
        {"-2.5", "-2", "-2"},
        {"&H10", "16", "16"},
        {"1e3", "1000", "1000"},
        {"32767", "32767", "32767"},
        {"32768", "32768", "#6"},
        {"-2147483648", "-2147483648", "#6"},
        {"2147483648", "#6", "#6"},
    };
    for (const auto& [text, int32, int16] : cases) {
        EXPECT_EQ(outcome(toInt32, text), int32) << text;
        EXPECT_EQ(outcome(toInt16, text), int16) << text;
    }
    // Text that is no number is a type mismatch.
    for (const char* text : {"", "  ", "abc", "12abc", "nan", "inf", "&Hzz"}) {
        EXPECT_EQ(outcome(toInt32, text), "#13") << text;
        EXPECT_EQ(outcome(toInt16, text), "#13") << text;
    }
}

TEST(ErrorTrapTest, ErrorsOfAnyKindAreShownAsNumberAndDescription) {
    test::TestPlatform platform;
    trapErrors([] { throw AppError(3709, "No connection."); });
    trapErrors([] { throw std::bad_alloc(); });
    trapErrors([] {});

    const auto& messages = platform.recorder().messages;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "3709: No connection.");
    EXPECT_EQ(messages[1].text, "7: Out of memory");
}

}  // namespace
}  // namespace kwiklet
