#include <gtest/gtest.h>

#include "platform/shell.h"
#include "platform/testing/fakes.h"

namespace {

TEST(Shell, ShellExecuteHandsTheUrlOnAndReportsSuccess) {
    plat::testing::FakeShell shell;
    EXPECT_GT(plat::ShellExecuteW(nullptr, u"open", u"http://192.168.1.10", nullptr, nullptr,
                                  plat::SW_SHOW),
              32);
    EXPECT_EQ(shell.Opened(), std::vector<std::u16string>{u"http://192.168.1.10"});
}

TEST(Shell, NothingToOpenIsRefusedWithoutReachingTheService) {
    plat::testing::FakeShell shell;
    EXPECT_LE(plat::ShellExecuteW(nullptr, u"open", nullptr, nullptr, nullptr, plat::SW_SHOW), 32);
    EXPECT_TRUE(shell.Opened().empty());
}

}  // namespace
