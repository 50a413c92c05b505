#include <gtest/gtest.h>

#include "commands/ResetCommand.h"
#include "hosts/HostsPaths.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

TEST(ResetCommandTest, OkWritesTheStockFileCancelLeavesItAlone) {
    FakePlatform platform;
    platform.PutFile(FixedHostsPath::Save, "mine");
    platform.answers = {2};
    RestoreDefaultHosts(platform);
    EXPECT_EQ(platform.FileBytes(FixedHostsPath::Save), "mine");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"确定将恢复Hosts文件到系统默认状态！");
    EXPECT_EQ(platform.messages[0].style, 49u);
    EXPECT_EQ(platform.messages[0].title, u"提示");

    platform.answers = {1};
    RestoreDefaultHosts(platform);
    EXPECT_EQ(platform.FileBytes(FixedHostsPath::Save)->size(), 836u);
    EXPECT_EQ(platform.administratorQueries, 0) << "the privilege query is not asked";
}

}  // namespace
}  // namespace quenlix
