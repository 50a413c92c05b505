#include "commands/ElevatedWrite.h"

#include <algorithm>
#include <optional>

#include "hosts/BusyRetry.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsPaths.h"
#include "hosts/SafeWrite.h"
#include "platform/MessageStyle.h"
#include "platform/QuoteArgument.h"

namespace quenlix {

namespace {

// A staged content, in a file of its own under the user's local application
// data folder for as long as this lives.
class StagedFile {
public:
    StagedFile(Platform& platform, std::string_view content, const Sha256Digest& digest) : platform_(platform) {
        platform.MakeDirectory(ProgramDataFolder(platform));
        // Named for its content, and numbered should two instances stage the
        // same content at once: only a file this one created is its own.
        const auto pathOf = [&](int n) { return StagedFilePath(platform, HexDigits(digest), n - 1); };
        path_ = pathOf(CreateNumberedFile(platform, pathOf, 100, content));
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile() {
        try {
            platform_.RemoveFile(path_);
        } catch (const Failure&) {
        }
    }

    const std::u16string& Path() const { return path_; }

private:
    Platform& platform_;
    std::u16string path_;
};

}  // namespace

HostsWriteResult WriteThroughElevatedInstance(Platform& platform, const HostsEditor& editor, bool silent,
                                              RecoverableWrite* recoverable) {
    // What this process sees of the file is what the edit is based on, and
    // what the second instance must find there before it writes.
    const std::u16string hosts = HostsPath(platform);
    const std::optional<std::string> current = BusyRetry(platform).Run([&]() -> std::optional<std::string> {
        try {
            return platform.ReadFileBytes(hosts);
        } catch (const Failure& failure) {
            if (IsMissingFile(failure)) return std::nullopt;
            throw;
        }
    });
    const std::string_view now = current ? std::string_view(*current) : std::string_view("");
    const std::optional<HostsEdit> edit = editor({now, !current, PiecesOf(now)});
    if (!edit) return {};

    // The second instance reads only a plain file on a local disk: a data
    // folder on a share (a roaming profile pointed at a server) cannot hand
    // it one.
    const std::u16string folder = ProgramDataFolder(platform);
    if (!platform.IsOnLocalFixedDrive(folder))
        throw Failure(FailureNumber::NotSupported, u"Quenlix 的数据文件夹“" + folder +
                                                       u"”不在本机的硬盘上，无法把这次修改交给以管理员身份运行的 "
                                                       u"Quenlix。请以管理员身份运行 Quenlix 后再修改。");
    std::string content(now.substr(0, std::min(edit->kept, now.size())));
    content += edit->tail;
    if (recoverable && !recoverable->Begin(now, content)) return {};
    const Sha256Digest digest = platform.Sha256(content);
    ProgramExit exit;
    try {
        const StagedFile staged(platform, content, digest);
        const std::u16string arguments = std::u16string(StagedWriteSwitch) + u" " + QuoteArgument(staged.Path()) +
                                         u" " + HexDigits(digest) + u" " + HexDigits(platform.Sha256(now));
        exit = platform.RunElevatedInstance(arguments, ElevatedWriteTimeout);
    } catch (const Failure& failure) {
        if (recoverable) recoverable->Settle(hosts);
        if (failure.Number() == FailureNumber::Cancelled) return {};  // the user said no to the system: enough said
        throw;
    }
    // Still running, the second instance may be in the middle of its write,
    // and is left to finish it: the journal stays for the next start to
    // look at.
    if (!exit) {
        if (recoverable) recoverable->Keep();
        throw Failure(FailureNumber::Timeout, u"以管理员身份运行的 Quenlix 在 60 秒内没有结束，"
                                              u"现在还无法确定 Hosts 文件是否已经改动。\n\n"
                                              u"下次启动 Quenlix 时会检查 Hosts 文件。");
    }
    // The second instance wrote the whole file, or nothing, or it failed and
    // the file shows which.
    const bool settled = *exit == 0 || *exit == StagedWriteExit::FileChanged ||
                         (*exit & ~0xFFu) == StagedWriteExit::WrittenWithWarnings;
    if (recoverable) settled ? recoverable->Finished() : recoverable->Settle(hosts);

    HostsWriteResult result;
    if (*exit == StagedWriteExit::FileChanged) {
        if (!silent)
            platform.ShowMessage(u"Hosts 文件在这期间被其他程序改动，这次修改没有写入，Hosts 文件保持原样。",
                                 Mb::Ok | Mb::IconWarning, u"提示");
        return result;
    }
    const bool warned = (*exit & ~0xFFu) == StagedWriteExit::WrittenWithWarnings;
    if (*exit != 0 && !warned) {
        if (*exit == FailureNumber::InvalidData)
            throw Failure(*exit, u"交给管理员实例的内容在途中被改动，没有写入。");
        throw Failure(*exit, platform.ErrorDescription(*exit));
    }
    result.written = true;
    result.snapshot = SnapshotBuilder::Of(content);
    if (warned) {
        result.readBackDiffers = (*exit & StagedWriteExit::ReadBackDiffers) != 0;
        // Only the second instance knew why; its exit code says only that.
        if ((*exit & StagedWriteExit::AttributesNotRestored) != 0) result.attributesNotRestored = Failure(0, {});
        if ((*exit & StagedWriteExit::ReadBackFailed) != 0) result.readBackFailed = Failure(0, {});
    }
    return result;
}

}  // namespace quenlix
