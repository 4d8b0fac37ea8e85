#include <gtest/gtest.h>

#include "tests/support/prompt_guard.h"

namespace {

class PromptGuardListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { FailOnUnexpectedPrompts(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PromptGuardListener);
    return RUN_ALL_TESTS();
}
