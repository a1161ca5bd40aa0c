// What a handler's error leads to: the shared message box, a retried step, or going on.

#include "common/ErrorTrap.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <vector>

namespace kwiklet {
namespace {

TEST(ErrorTrapTest, ErrorsOfAnyKindAreShownAsNumberAndDescription) {
    test::TestPlatform platform;
    trapErrors([] { throw AppError(3709, "No connection."); });
    trapErrors([] { throw std::bad_alloc(); });
    trapErrors([] {});

    const auto& messages = platform.recorder().messages;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "3709: No connection.");
    EXPECT_EQ(messages[0].title, "Kwiklet");
    EXPECT_EQ(messages[0].style, MessageStyle::Plain);
    EXPECT_EQ(messages[1].text, "7: Out of memory");
}

TEST(ErrorTrapTest, StepsRecoverAsTheirPolicySays) {
    test::TestPlatform platform;
    std::vector<int> ran;
    int failuresLeft = 1;
    const HandlerStep steps[] = {
        [&] {
            ran.push_back(1);
            return StepResult::Continue;
        },
        [&] {
            ran.push_back(2);
            if (failuresLeft-- > 0) {
                throw AppError(3709, "closed");
            }
            return StepResult::Continue;
        },
        [&] {
            ran.push_back(3);
            throw AppError(3704, "skip me");
            return StepResult::Continue;
        },
        [&] {
            ran.push_back(4);
            return StepResult::EndHandler;
        },
        [&] {
            ran.push_back(5);
            return StepResult::Continue;
        },
    };
    const bool failed = runSteps(steps, [](const AppError& error, int retries) {
        if (error.number() == 3709 && retries == 0) {
            return Recovery::RetryStep;
        }
        return error.number() == 3704 ? Recovery::NextStep : Recovery::ReportAndEnd;
    });
    EXPECT_FALSE(failed);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 2, 3, 4}));
    EXPECT_TRUE(platform.recorder().messages.empty());

    // A step that keeps failing is reported once its retry fails too.
    ran.clear();
    failuresLeft = 2;
    const bool failedAgain = runSteps(std::span(steps).first(2), [](const AppError&, int retries) {
        return retries == 0 ? Recovery::RetryStep : Recovery::ReportAndEnd;
    });
    EXPECT_TRUE(failedAgain);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 2}));
    ASSERT_EQ(platform.recorder().messages.size(), 1u);
    EXPECT_EQ(platform.recorder().messages[0].text, "3709: closed");
}

}  // namespace
}  // namespace kwiklet
