#include "commands/StagedWrite.h"

#include <optional>

#include "hosts/HostsPaths.h"
#include "hosts/InPlaceWrite.h"

namespace quenlix {

namespace {

// A day in the file system's clock (100-nanosecond ticks).
constexpr std::uint64_t Day = 24ull * 60 * 60 * 10'000'000;

std::uint32_t WriteStagedContent(Platform& platform, const std::u16string& stagedPath, const Sha256Digest& stagedDigest,
                                 const Sha256Digest& expectedDigest) {
    // Read once, and only from a plain local file: a pipe or a share at the
    // other end of the name could otherwise learn, or borrow, the
    // administrator's identity.
    const std::string staged = platform.ReadPlainLocalFile(stagedPath, MostStagedBytes);
    if (platform.Sha256(staged) != stagedDigest) return FailureNumber::InvalidData;
    bool changed = false;
    const HostsWriteResult result =
        WriteHostsInPlace(platform, HostsPath(platform), [&](const HostsNow& now) -> std::optional<HostsEdit> {
            if (platform.Sha256(now.bytes) != expectedDigest) {
                changed = true;
                return std::nullopt;
            }
            // An append stays an append: only the new end is written.
            if (staged.starts_with(now.bytes)) return HostsEdit{now.bytes.size(), staged.substr(now.bytes.size())};
            return HostsEdit{0, staged};
        });
    if (changed) return StagedWriteExit::FileChanged;
    const std::uint32_t warnings = (result.readBackDiffers ? StagedWriteExit::ReadBackDiffers : 0) |
                                   (result.attributesNotRestored ? StagedWriteExit::AttributesNotRestored : 0) |
                                   (result.readBackFailed ? StagedWriteExit::ReadBackFailed : 0);
    return warnings == 0 ? 0 : StagedWriteExit::WrittenWithWarnings | warnings;
}

}  // namespace

std::uint32_t RunStagedWrite(Platform& platform, const std::vector<std::u16string>& arguments) {
    if (arguments.size() != 4 || arguments[0] != StagedWriteSwitch || !platform.IsOnLocalFixedDrive(arguments[1]))
        return FailureNumber::InvalidParameter;
    const std::optional<Sha256Digest> stagedDigest = DigestFromHexDigits(arguments[2]);
    const std::optional<Sha256Digest> expectedDigest = DigestFromHexDigits(arguments[3]);
    if (!stagedDigest || !expectedDigest) return FailureNumber::InvalidParameter;
    try {
        return WriteStagedContent(platform, arguments[1], *stagedDigest, *expectedDigest);
    } catch (...) {
        const std::uint32_t number = CurrentFailure().Number();
        return number != 0 ? number : FailureNumber::InternalError;
    }
}

void RemoveStaleStagedFiles(Platform& platform) {
    const std::u16string folder = ProgramDataFolder(platform);
    try {
        const std::uint64_t now = platform.FileTimeNow();
        for (const FolderEntry& file : platform.FilesInFolder(folder)) {
            if (!file.name.starts_with(StagedFilePrefix) || !file.name.ends_with(u".hosts")) continue;
            if (file.writeTime + Day > now) continue;
            try {
                platform.RemoveFile(folder + u"\\" + file.name);
            } catch (const Failure&) {
            }
        }
    } catch (const Failure&) {
    }
}

}  // namespace quenlix
