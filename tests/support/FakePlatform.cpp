#include "support/FakePlatform.h"

#include <algorithm>

#include "platform/AsciiCase.h"
#include "platform/FileAttribute.h"
#include "platform/FileSnapshot.h"

namespace quenlix::testing {

namespace {

class FakeWritableFile : public WritableFile {
public:
    FakeWritableFile(FakePlatform& platform, std::u16string path, bool created)
        : platform_(platform), path_(std::move(path)), created_(created) {
        ++platform_.openFiles;
        ++platform_.heldForWriting[Key(path_)];
    }
    ~FakeWritableFile() override {
        --platform_.openFiles;
        if (--platform_.heldForWriting[Key(path_)] == 0) platform_.heldForWriting.erase(Key(path_));
        if (written_ && platform_.afterWrittenFileCloses) platform_.afterWrittenFileCloses(path_);
    }

    bool Created() const override { return created_; }
    std::uint64_t Size() override { return Bytes().size(); }
    // A copy of its own, spoilt by the next change, as a view of the file
    // would be: a write that went on reading it would be caught.
    std::string_view Content() override {
        seen_ = Bytes();
        return seen_;
    }

    void ReadPieces(const PieceReader& piece) override {
        const std::string bytes = Bytes();
        for (std::size_t at = 0; at < bytes.size(); at += platform_.pieceSize)
            piece(std::string_view(bytes).substr(at, platform_.pieceSize), bytes.size());
    }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        Spoil();
        if (own_) {
            if (platform_.ownFilesFail) throw Failure(112, u"磁盘空间不足。");
            Write(offset, bytes);
            return;
        }
        if (platform_.Paused() < platform_.writesLockedFor)
            throw Failure(FailureNumber::LockViolation, u"另一个程序已锁定文件的一部分，进程无法访问。");
        std::uint64_t allowed = bytes.size();
        const bool sessionEnds = platform_.sessionEndsAfter && *platform_.sessionEndsAfter < bytes.size();
        if (platform_.sessionEndsAfter) {
            allowed = std::min<std::uint64_t>(allowed, *platform_.sessionEndsAfter);
            *platform_.sessionEndsAfter -= allowed;
        }
        if (!sessionEnds) platform_.ChargeWrite(allowed, bytes.size());
        // Write what the budget allows, then fail: a torn write.
        Write(offset, bytes.substr(0, allowed));
        if (sessionEnds) throw SessionEnds{};
        if (allowed < bytes.size()) throw Failure(112, u"磁盘空间不足。");
    }
    void SetLength(std::uint64_t length) override {
        Spoil();
        if (own_ ? platform_.ownFilesFail : platform_.setLengthFails) throw Failure(112, u"磁盘空间不足。");
        Bytes().resize(length);
        platform_.Touch(path_);
    }
    void Flush() override {
        if (!own_ && platform_.flushFails) throw Failure(1117, u"由于 I/O 设备错误，无法运行此项请求。");
    }

private:
    static std::u16string Key(std::u16string_view path) {
        std::u16string key(path);
        std::transform(key.begin(), key.end(), key.begin(), AsciiLower);
        return key;
    }
    std::string& Bytes() { return platform_.File(path_).bytes; }
    void Spoil() { std::fill(seen_.begin(), seen_.end(), '\x7F'); }
    void Write(std::uint64_t offset, std::string_view bytes) {
        written_ = true;
        platform_.Touch(path_);
        std::string& content = Bytes();
        if (content.size() < offset + bytes.size()) content.resize(offset + bytes.size());
        std::copy(bytes.begin(), bytes.end(), content.begin() + offset);
    }

    FakePlatform& platform_;
    std::u16string path_;
    bool created_;
    bool own_ = platform_.IsOwnFile(path_);
    bool written_ = false;
    std::string seen_;
};

}  // namespace

std::u16string FakePlatform::Key(std::u16string_view path) {
    std::u16string key(path);
    std::transform(key.begin(), key.end(), key.begin(), AsciiLower);
    return key;
}

bool FakePlatform::Denied(std::u16string_view path) const {
    const std::u16string key = Key(path);
    return std::any_of(deniedPaths.begin(), deniedPaths.end(),
                       [&](const std::u16string& p) { return Key(p) == key; });
}

std::chrono::milliseconds FakePlatform::Paused() const {
    std::chrono::milliseconds sum{0};
    for (const auto pause : pauses) sum += pause;
    return sum;
}

void FakePlatform::CheckBusy(std::u16string_view path) const {
    const std::u16string key = Key(path);
    const bool held = std::any_of(busyPaths.begin(), busyPaths.end(),
                                  [&](const std::u16string& p) { return Key(p) == key; });
    if (held && Paused() < busyFor) throw Failure(busyFailure, u"另一个程序正在使用此文件，进程无法访问。");
}

bool FakePlatform::WriteDenied(std::u16string_view path) const {
    const std::u16string key = Key(path);
    return Denied(path) || std::any_of(writeDeniedPaths.begin(), writeDeniedPaths.end(),
                                       [&](const std::u16string& p) { return Key(p) == key; });
}

void FakePlatform::CheckFolder(std::u16string_view path) const {
    const std::u16string key = Key(path);
    for (const auto& folder : missingFolders)
        if (key.rfind(Key(folder) + u"\\", 0) == 0) throw Failure(3, u"系统找不到指定的路径。");
}

void FakePlatform::PutFile(std::u16string_view path, std::string bytes) {
    files_[Key(path)] = FakeFile{std::move(bytes)};
    Touch(path);
}

std::optional<std::string> FakePlatform::FileBytes(std::u16string_view path) const {
    const auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second.bytes;
}

FakePlatform::FakeFile& FakePlatform::File(std::u16string_view path) { return files_[Key(path)]; }

bool FakePlatform::Has(std::u16string_view path) const { return files_.count(Key(path)) > 0; }

void FakePlatform::StartProgram(std::u16string_view commandLine, int windowStyle) {
    if (startFails) throw Failure(2, u"系统找不到指定的文件。");
    started.push_back({std::u16string(commandLine), windowStyle});
}

ProgramExit FakePlatform::RunSystemProgram(std::u16string_view program, std::u16string_view arguments,
                                           int windowStyle, std::chrono::milliseconds timeout) {
    if (startFails) throw Failure(2, u"系统找不到指定的文件。");
    ran.push_back({std::u16string(program), std::u16string(arguments), windowStyle, timeout});
    return programExit;
}

std::optional<char16_t> FakeAnsiPair(unsigned char lead, unsigned char trail) {
    if (lead < 0x81 || lead > 0x9F || trail < 0x40 || trail == 0x7F || trail == 0xFF) return std::nullopt;
    if (lead == 0x81 && trail == 0x40) return u'\u00E9';
    if (lead == 0x9F && trail == 0xFE) return u'\u00A5';
    return static_cast<char16_t>(0x3400 + (lead - 0x81) * 190 + (trail - 0x40) - (trail > 0x7F));
}

bool FakePlatform::AppendFromAnsi(std::u16string& text, std::string_view bytes) {
    std::u16string decoded;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x80) return false;
        if (!IsAnsiLeadByte(b)) {
            decoded.push_back(b);
            continue;
        }
        if (i + 1 == bytes.size()) return false;
        const auto pair = FakeAnsiPair(b, static_cast<unsigned char>(bytes[++i]));
        if (!pair) return false;
        decoded.push_back(*pair);
    }
    text += decoded;
    return true;
}

bool FakePlatform::AppendToAnsi(std::string& bytes, std::u16string_view text) {
    bool held = true;
    for (const char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            bytes.push_back(static_cast<char>(c));
            continue;
        }
        const unsigned index = c - 0x3400u;
        if (c >= 0x3400 && index < 31 * 190) {
            const auto lead = static_cast<unsigned char>(0x81 + index / 190);
            const unsigned trail = 0x40 + index % 190;
            const auto byte = static_cast<unsigned char>(trail + (trail >= 0x7F));
            if (FakeAnsiPair(lead, byte) == c) {  // not one of the two pairs given to Latin-1
                bytes.push_back(static_cast<char>(lead));
                bytes.push_back(static_cast<char>(byte));
                continue;
            }
        }
        bytes.push_back('?');
        held = false;
    }
    return held;
}

void FakePlatform::ToUpperInPlace(std::span<char16_t> text) {
    std::transform(text.begin(), text.end(), text.begin(), AsciiUpper);
}

std::u16string FakePlatform::ToLower(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

bool FakePlatform::FileExists(std::u16string_view path) {
    const auto it = files_.find(Key(path));
    return it != files_.end() && !it->second.directory;
}

std::string FakePlatform::ReadFileBytes(std::u16string_view path) {
    CheckFolder(path);
    CheckBusy(path);
    const auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.directory) throw Failure(2, u"系统找不到指定的文件。");
    if (Denied(path)) throw Failure(AccessDenied, u"拒绝访问。");
    return it->second.bytes;
}

void FakePlatform::ReadFilePieces(std::u16string_view path,
                                  const std::function<void(std::string_view, std::uint64_t)>& piece) {
    const std::string bytes = ReadFileBytes(path);
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize)
        piece(std::string_view(bytes).substr(at, pieceSize), bytes.size());
}

std::unique_ptr<WritableFile> FakePlatform::OpenForWriting(std::u16string_view path, Creation creation) {
    CheckFolder(path);
    CheckBusy(path);
    if (heldForWriting.contains(Key(path)))
        throw Failure(FailureNumber::SharingViolation, u"另一个程序正在使用此文件，进程无法访问。");
    const auto it = files_.find(Key(path));
    if (creation == Creation::OnlyIfNew && it != files_.end()) throw Failure(FailureNumber::FileExists, u"文件存在。");
    if (creation == Creation::OnlyExisting && it == files_.end()) throw Failure(2, u"系统找不到指定的文件。");
    if (WriteDenied(path) || (it != files_.end() && (it->second.readOnly || it->second.directory)))
        throw Failure(AccessDenied, u"拒绝访问。");
    const bool created = it == files_.end();
    if (created) File(path);
    return std::make_unique<FakeWritableFile>(*this, std::u16string(path), created);
}

void FakePlatform::RemoveFile(std::u16string_view path) {
    if (heldForWriting.contains(Key(path)))
        throw Failure(FailureNumber::SharingViolation, u"另一个程序正在使用此文件，进程无法访问。");
    if (files_.erase(Key(path)) == 0) throw Failure(2, u"系统找不到指定的文件。");
}

bool FakePlatform::IsOnLocalFixedDrive(std::u16string_view path) {
    if (path.size() < 4 || path[1] != u':' || path[2] != u'\\' || !((path[0] | 0x20) >= u'a' && (path[0] | 0x20) <= u'z'))
        return false;
    return std::none_of(notFixedDrives.begin(), notFixedDrives.end(),
                        [&](const std::u16string& drive) { return Key(drive) == Key(path.substr(0, 2)); });
}

std::string FakePlatform::ReadPlainLocalFile(std::u16string_view path, std::uint64_t mostBytes) {
    if (!IsOnLocalFixedDrive(path)) throw Failure(FailureNumber::InvalidParameter, u"参数错误。");
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() > mostBytes) throw Failure(FailureNumber::FileTooLarge, u"文件太大。");
    return bytes;
}

std::optional<std::uint32_t> FakePlatform::FileAttributesOf(std::u16string_view path) {
    CheckFolder(path);
    const auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    const FakeFile& file = it->second;
    return (file.readOnly ? FileAttribute::ReadOnly : 0) | (file.hidden ? FileAttribute::Hidden : 0) |
           (file.system ? FileAttribute::System : 0) | (file.directory ? FileAttribute::Directory : 0);
}

void FakePlatform::ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) {
    CheckFolder(path);
    CheckBusy(path);
    const auto it = files_.find(Key(path));
    if (it == files_.end()) throw Failure(2, u"系统找不到指定的文件。");
    if (WriteDenied(path) || (attributeChangesAllowed && (*attributeChangesAllowed)-- <= 0))
        throw Failure(AccessDenied, u"拒绝访问。");
    attributeChanges.push_back(attributes);
    it->second.readOnly = (attributes & FileAttribute::ReadOnly) != 0;
    it->second.hidden = (attributes & FileAttribute::Hidden) != 0;
    it->second.system = (attributes & FileAttribute::System) != 0;
}

Sha256Digest FakePlatform::Sha256(std::string_view bytes) {
    Sha256Digest digest{};
    const FileSnapshot snapshot = SnapshotBuilder::Of(bytes);
    for (std::size_t i = 0; i < 8; ++i) {
        digest[i] = static_cast<std::uint8_t>(snapshot.hash >> (8 * i));
        digest[8 + i] = static_cast<std::uint8_t>(snapshot.size >> (8 * i));
    }
    return digest;
}

void FakePlatform::MakeDirectory(std::u16string_view path) {
    CheckFolder(path);
    madeDirectories.emplace_back(path);
}

ProgramExit FakePlatform::RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds) {
    elevatedRuns.emplace_back(arguments);
    if (!elevatedInstance) throw Failure(2, u"系统找不到指定的文件。");
    return elevatedInstance(arguments);
}

std::u16string FakePlatform::ErrorDescription(std::uint32_t number) {
    const std::string digits = std::to_string(number);
    return u"系统错误 " + std::u16string(digits.begin(), digits.end());
}

std::vector<std::u16string> FakePlatform::FilesIn(std::u16string_view folder) const {
    const std::u16string prefix = Key(folder) + u"\\";
    std::vector<std::u16string> found;
    for (const auto& [key, file] : files_)
        if (key.rfind(prefix, 0) == 0) found.push_back(key);
    return found;
}

bool FakePlatform::IsOwnFile(std::u16string_view path) const {
    return Key(path).rfind(Key(localAppDataDirectory) + u"\\", 0) == 0;
}

std::vector<FolderEntry> FakePlatform::FilesInFolder(std::u16string_view folder) {
    try {
        CheckFolder(std::u16string(folder) + u"\\");
    } catch (const Failure&) {
        return {};  // as the system finds a missing folder: empty
    }
    const std::u16string prefix = Key(folder) + u"\\";
    std::vector<FolderEntry> found;
    for (const auto& [key, file] : files_)
        if (key.rfind(prefix, 0) == 0 && key.find(u'\\', prefix.size()) == std::u16string::npos && !file.directory)
            found.push_back({key.substr(prefix.size()), file.bytes.size(), file.writeTime});
    return found;
}

void FakePlatform::ChargeWrite(std::uint64_t& allowed, std::uint64_t wanted) {
    allowed = wanted;
    if (!writeBudget) return;
    allowed = std::min(wanted, *writeBudget);
    *writeBudget -= allowed;
    // A failure is a passing one unless the test says otherwise, so that what
    // the program does after it (putting the old bytes back) can succeed.
    if (allowed < wanted && !writesKeepFailing) writeBudget.reset();
}

}  // namespace quenlix::testing
