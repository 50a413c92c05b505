#include <gtest/gtest.h>

#include "commands/ResetCommand.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

constexpr std::u16string_view HostsFile = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

TEST(ResetCommandTest, OkWritesTheStockFileCancelLeavesItAlone) {
    FakePlatform platform;
    platform.PutFile(HostsFile, "mine");
    platform.answers = {2};
    RestoreDefaultHosts(platform);
    EXPECT_EQ(platform.FileBytes(HostsFile), "mine");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"确定将恢复Hosts文件到系统默认状态！");
    EXPECT_EQ(platform.messages[0].style, Mb::OkCancel | Mb::IconWarning);
    EXPECT_EQ(platform.messages[0].title, u"提示");

    platform.answers = {1};
    RestoreDefaultHosts(platform);
    EXPECT_EQ(platform.FileBytes(HostsFile)->size(), 836u);
    EXPECT_EQ(platform.administratorQueries, 0) << "the privilege query is not asked";
}

}  // namespace
}  // namespace quenlix
