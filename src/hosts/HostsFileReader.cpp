#include "hosts/HostsFileReader.h"

#include "platform/AnsiPieces.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// The first place in `bytes` where ANSI code page text may be cut (after two
// bytes below 0x80), or 0 when there is none: see LastSafeCut.
std::size_t FirstSafeCut(std::string_view bytes) {
    for (std::size_t cut = 2; cut <= bytes.size(); ++cut) {
        if (static_cast<unsigned char>(bytes[cut - 1]) < 0x80 && static_cast<unsigned char>(bytes[cut - 2]) < 0x80)
            return cut;
    }
    return 0;
}

constexpr std::size_t LongestMark = 3;

}  // namespace

void HostsFileReader::Add(std::string_view piece, std::uint64_t fileSize) {
    snapshot_.Add(piece);
    switch (mode_) {
        case Mode::Start: {
            if (text_.capacity() == 0) text_.reserve(static_cast<std::size_t>(fileSize));  // no more units than bytes
            held_.append(piece);
            if (held_.size() < LongestMark) return;
            marked_ = EncodingOfMark(held_);
            if (marked_ != HostsEncoding::Ansi) {
                mode_ = Mode::Marked;
                held_.erase(0, MarkOf(marked_).size());
                return;
            }
            std::string first;
            first.swap(held_);
            StartPlain(first);
            return;
        }
        case Mode::Plain: AddPlain(piece); return;
        case Mode::Marked: held_.append(piece); return;
    }
}

void HostsFileReader::StartPlain(std::string_view bytes) {
    mode_ = Mode::Plain;
    AddPlain(bytes);
}

void HostsFileReader::AddPlain(std::string_view bytes) {
    // Until the first byte of 0x80 or more, every byte decoded was ASCII and
    // gave one unit of text, the same in the ANSI code page and in UTF-8.
    if (!utf8_.SawNonAscii()) {
        utf8_.Add(bytes);
        if (utf8_.SawNonAscii() && utf8_.Valid()) {
            keeping_ = true;
            utf8Start_ = text_.size();
            utf8Bytes_.assign(held_);
            utf8Bytes_.append(bytes);
        }
    } else if (keeping_) {
        utf8_.Add(bytes);
        if (utf8_.Valid()) {
            utf8Bytes_.append(bytes);
        } else {
            keeping_ = false;
            std::string().swap(utf8Bytes_);
        }
    }

    // The ANSI text is decoded up to the last place it may be cut; the rest
    // waits for the next piece. Bytes held from the last piece are decoded
    // together with the start of this one.
    if (!held_.empty()) {
        const std::size_t cut = FirstSafeCut(bytes);
        if (cut == 0) {
            held_.append(bytes);
            return;
        }
        held_.append(bytes.substr(0, cut));
        DecodeAnsi(held_);
        held_.clear();
        bytes.remove_prefix(cut);
    }
    const std::size_t cut = LastSafeCut(bytes);
    DecodeAnsi(bytes.substr(0, cut));
    held_.assign(bytes.substr(cut));
}

void HostsFileReader::DecodeAnsi(std::string_view bytes) {
    if (bytes.empty()) return;
    const std::size_t before = text_.size();
    platform_.AppendFromAnsi(text_, bytes);
    crLf_.Add(std::u16string_view(text_).substr(before));
}

HostsFile HostsFileReader::Finish() {
    if (mode_ == Mode::Start) {
        marked_ = EncodingOfMark(held_);  // a file of two bytes can be a UTF-16 mark
        if (marked_ != HostsEncoding::Ansi) {
            mode_ = Mode::Marked;
            held_.erase(0, MarkOf(marked_).size());
        } else {
            std::string first;
            first.swap(held_);
            StartPlain(first);
        }
    }

    HostsEncoding encoding = HostsEncoding::Ansi;
    if (mode_ == Mode::Marked) {
        encoding = marked_;
        if (marked_ == HostsEncoding::Utf8WithMark) {
            AppendUtf8Decoded(text_, held_);
        } else {
            AppendUtf16Decoded(text_, held_, marked_ == HostsEncoding::Utf16BeWithMark);
        }
        ApplyLineRuleInPlace(text_);
    } else if (keeping_ && utf8_.ValidAndComplete()) {
        encoding = HostsEncoding::Utf8;
        text_.resize(utf8Start_);
        AppendUtf8Decoded(text_, utf8Bytes_);
        ApplyLineRuleInPlace(text_);
    } else {
        DecodeAnsi(held_);  // the end of the file ends its last character
        ApplyLineRuleInPlace(text_, crLf_);
    }
    // Mostly double-byte text leaves much of the room made for it unused.
    if (text_.size() < text_.capacity() / 4 * 3) text_.shrink_to_fit();
    return {std::move(text_), encoding, snapshot_.Finish()};
}

HostsFile ReadHostsFile(Platform& platform, std::u16string_view path) {
    HostsFileReader reader(platform);
    platform.ReadFilePieces(path, [&](std::string_view piece, std::uint64_t size) { reader.Add(piece, size); });
    return reader.Finish();
}

}  // namespace quenlix
