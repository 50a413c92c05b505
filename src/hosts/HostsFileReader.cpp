#include "hosts/HostsFileReader.h"

#include <algorithm>

#include "platform/AnsiPieces.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// Where valid UTF-8 may be cut so that no character is split: before a
// character at the end whose bytes have not all come yet.
std::size_t LastWholeCharacter(std::string_view bytes) {
    std::size_t lead = bytes.size();
    for (int back = 0; back < 4 && lead > 0; ++back) {
        const auto b = static_cast<unsigned char>(bytes[--lead]);
        if ((b & 0xC0) == 0x80) continue;  // a continuation byte: its lead is further back
        const std::size_t length = Utf8SequenceLength(b);
        return lead + length <= bytes.size() ? bytes.size() : lead;
    }
    return bytes.size();
}

constexpr std::size_t LongestMark = 3;

}  // namespace

void HostsFileReader::Add(std::string_view piece, std::uint64_t fileSize) {
    if (notUtf8AfterAll_) return;  // read again as ANSI text
    if (handOn_) {
        AddPiece(piece, fileSize);
        HandOnDecoded();
        return;
    }
    snapshot_.Add(piece);
    if (!reserved_) text_.reserve(static_cast<std::size_t>(fileSize));  // no more units than bytes
    reserved_ = true;
    AddPiece(piece, fileSize);
}

void HostsFileReader::HandOnDecoded() {
    if (text_.empty()) return;
    handOn_(text_);
    text_.clear();  // its room serves the next piece
}

void HostsFileReader::AddPiece(std::string_view piece, std::uint64_t fileSize) {
    switch (mode_) {
        case Mode::Start: {
            held_.append(piece);
            if (held_.size() < LongestMark) return;
            marked_ = EncodingOfMark(held_);
            if (marked_ != HostsEncoding::Ansi) {
                mode_ = Mode::Marked;
                held_.erase(0, MarkOf(marked_).size());
                return;
            }
            // UTF-16 without a mark shows in the first bytes of a file of an
            // even size.
            if (fileSize % 2 == 0) {
                if (held_.size() < std::min<std::uint64_t>(fileSize, Utf16HeadBytes)) return;
                marked_ = Utf16WithoutMark(held_, fileSize);
                if (marked_ != HostsEncoding::Ansi) {
                    mode_ = Mode::Marked;
                    return;
                }
            }
            std::string first;
            first.swap(held_);
            mode_ = Mode::Plain;
            AddPlain(first);
            return;
        }
        case Mode::Plain: AddPlain(piece); return;
        case Mode::Utf8: AddUtf8(piece); return;
        case Mode::Marked: held_.append(piece); return;
    }
}

void HostsFileReader::AddPlain(std::string_view bytes) {
    // Until the first byte of 0x80 or more every byte is ASCII, the same in
    // the ANSI code page and in UTF-8; the bytes held back are ASCII too.
    if (mayBeUtf8_ && !utf8_.SawNonAscii()) {
        utf8_.Add(bytes);
        if (utf8_.SawNonAscii() && utf8_.Valid()) {
            mode_ = Mode::Utf8;
            std::string ascii;
            ascii.swap(held_);
            ascii.append(bytes);
            AddUtf8Checked(ascii);
            return;
        }
    }
    AddAnsi(bytes);
}

void HostsFileReader::AddUtf8(std::string_view bytes) {
    utf8_.Add(bytes);
    if (!utf8_.Valid()) {
        notUtf8AfterAll_ = true;
        return;
    }
    AddUtf8Checked(bytes);
}

// Bytes that are valid UTF-8 so far: decoded up to the last whole character,
// the rest held for the next piece.
void HostsFileReader::AddUtf8Checked(std::string_view bytes) {
    if (!held_.empty()) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(held_[0]));
        const std::size_t take = std::min(length - held_.size(), bytes.size());
        held_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (held_.size() < length) return;
        const std::size_t before = text_.size();
        AppendUtf8Decoded(text_, held_);
        Decoded(before);
        held_.clear();
    }
    const std::size_t cut = LastWholeCharacter(bytes);
    const std::size_t before = text_.size();
    AppendUtf8Decoded(text_, bytes.substr(0, cut));
    Decoded(before);
    held_.assign(bytes.substr(cut));
}

void HostsFileReader::AddAnsi(std::string_view bytes) {
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
    ansi_.AppendDecoded(text_, bytes);
    Decoded(before);
}

// Each piece of text has its line ends checked while it is fresh; text
// handed on gets no line rule.
void HostsFileReader::Decoded(std::size_t before) {
    if (!handOn_) crLf_.Add(std::u16string_view(text_).substr(before));
}

bool HostsFileReader::MustReadAgainAsAnsi() const {
    // Also a file that ends in the middle of a UTF-8 character.
    return notUtf8AfterAll_ || (mode_ == Mode::Utf8 && !utf8_.ValidAndComplete());
}

HostsFile HostsFileReader::Finish() {
    // A file of fewer bytes than a mark has, or of an even size and fewer
    // bytes than tell UTF-16: all of it held.
    if (mode_ == Mode::Start) {
        std::string whole;
        whole.swap(held_);
        const HostsEncoding encoding = DetectEncoding(whole);  // two bytes can be a UTF-16 mark, or UTF-16
        if (encoding == HostsEncoding::Utf8 && mayBeUtf8_) {
            mode_ = Mode::Utf8;
            AddUtf8Checked(whole);
        } else if (encoding == HostsEncoding::Ansi || encoding == HostsEncoding::Utf8) {
            mode_ = Mode::Plain;
            AddAnsi(whole);
        } else {
            mode_ = Mode::Marked;
            marked_ = encoding;
            held_ = whole.substr(MarkOf(encoding).size());
        }
    }

    HostsEncoding encoding = HostsEncoding::Ansi;
    std::optional<char> oddLastByte;
    switch (mode_) {
        case Mode::Marked:
            encoding = marked_;
            if (marked_ == HostsEncoding::Utf8WithMark) {
                AppendUtf8Decoded(text_, held_);
            } else {
                AppendUtf16Decoded(text_, held_, IsBigEndian(marked_));
                if (held_.size() % 2 != 0) oddLastByte = held_.back();
            }
            break;
        case Mode::Utf8: encoding = HostsEncoding::Utf8; break;
        case Mode::Start:
        case Mode::Plain:
            DecodeAnsi(held_);  // the end of the file ends its last character
            break;
    }
    if (handOn_) {
        HandOnDecoded();
        return {{}, encoding, {}, oddLastByte};
    }
    if (mode_ == Mode::Marked) {
        ApplyLineRuleInPlace(text_);
    } else {
        ApplyLineRuleInPlace(text_, crLf_);
    }
    // Mostly double-byte text leaves much of the room made for it unused.
    if (text_.size() < text_.capacity() / 4 * 3) text_.shrink_to_fit();
    return {std::move(text_), encoding, snapshot_.Finish(), oddLastByte};
}

namespace {

// Decodes the bytes `pieces` hands over; once more, as ANSI text, when they
// turned out not to be UTF-8 after all (`restart` is told first).
HostsFile Decode(Platform& platform, const PieceSource& pieces, const HostsFileReader::HandOn& take,
                 const std::function<void()>& restart) {
    for (const auto detect : {HostsFileReader::Detect::Utf8AndAnsi, HostsFileReader::Detect::AnsiOnly}) {
        HostsFileReader reader(platform, detect, take);
        pieces([&](std::string_view piece, std::uint64_t size) { reader.Add(piece, size); });
        if (detect == HostsFileReader::Detect::AnsiOnly || !reader.MustReadAgainAsAnsi()) return reader.Finish();
        if (restart) restart();
    }
    return {};
}

}  // namespace

HostsFile ReadHostsFile(Platform& platform, std::u16string_view path) {
    return Decode(platform, [&](const PieceReader& piece) { platform.ReadFilePieces(path, piece); }, {}, {});
}

PieceSource PiecesOf(std::string_view bytes, std::size_t pieceBytes) {
    return [bytes, pieceBytes](const PieceReader& piece) {
        for (std::size_t at = 0; at < bytes.size(); at += pieceBytes) piece(bytes.substr(at, pieceBytes), bytes.size());
    };
}

void DecodeHostsTextInStretches(Platform& platform, const PieceSource& pieces, const HostsFileReader::HandOn& take,
                                const std::function<void()>& restart) {
    Decode(platform, pieces, take, restart);
}

}  // namespace quenlix
