#include "ui/CommandRunner.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "hosts/HostsPaths.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

TEST(CommandRunnerTest, WhateverACommandThrowsIsReportedNotFatal) {
    const struct {
        Command command;
        std::uint32_t number;
    } cases[] = {
        {[](WindowState&, Platform&) { throw Failure(5, u"拒绝访问。"); }, 5},
        {[](WindowState&, Platform&) { throw std::bad_alloc(); }, 8},
        {[](WindowState&, Platform&) { throw std::length_error("too long"); }, 8},
        {[](WindowState&, Platform&) { throw 42; }, 1359},
    };
    for (const auto& [command, number] : cases) {
        FakePlatform platform;
        FakeWindow window;
        RunCommand(command, window, platform);
        ASSERT_EQ(platform.reported.size(), 1u) << number;
        EXPECT_EQ(platform.reported[0].Number(), number);
        EXPECT_FALSE(window.closed);
    }
}

struct StartupTest : ::testing::Test {
    FakePlatform platform;
    FakeWindow window;
    std::u16string hosts = HostsPath(platform);
};

TEST_F(StartupTest, APresentFileShowsTheWindow) {
    platform.PutFile(hosts, "x\r\n");
    EXPECT_EQ(RunStartup(window, platform), StartupOutcome::ShowWindow);
    EXPECT_TRUE(platform.reported.empty());
}

TEST_F(StartupTest, CancelEndsTheProgramBeforeTheWindowWithoutAFile) {
    platform.answers = {2};
    EXPECT_EQ(RunStartup(window, platform), StartupOutcome::UserDeclined);
    EXPECT_FALSE(platform.Has(hosts));
    EXPECT_TRUE(platform.ran.empty());
    EXPECT_TRUE(platform.reported.empty());
}

TEST_F(StartupTest, AFailureBeforeTheWindowIsShownIsReportedAndEndsTheProgram) {
    platform.PutFile(hosts, "x\r\n");
    platform.deniedPaths = {hosts};
    EXPECT_EQ(RunStartup(window, platform), StartupOutcome::Failed);
    EXPECT_EQ(platform.reported.size(), 1u);
}

}  // namespace
}  // namespace quenlix
