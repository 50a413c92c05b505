#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// The system's ANSI code page, decoded and encoded so that a load and a save
// give back every byte. The system tells what each character is
// (MultiByteToWideChar refusing what the code page does not define,
// WideCharToMultiByte without look-alikes, IsDBCSLeadByteEx for its length);
// a character it does not define, or does not give back as the same bytes
// (two sequences that decode alike, such as 0x80 and another for U+20AC),
// travels as escaped bytes instead.
//
// The system is asked once per distinct character, and the text is put
// together here from its answers. Asked for whole texts with those flags,
// Wine takes more than twice as long to decode and four times as long to
// encode as without them (the benchmark's "decode PATH strict" and "encode
// exact"), and a save must also know how many characters became the default
// character, which the system tells only as yes or no; a hosts file holds
// few distinct characters among its many ASCII ones.
//
// Assumed of every ANSI code page, as Windows' own are (the single-byte
// ones and the double-byte ones of East Asia): a byte below 0x80 is the
// ASCII character of that number, and every other character is one or two
// bytes, a lead byte and the byte after it. A code page that breaks this
// (a system set to use UTF-8 for it) still gives back every byte, but shows
// characters of more than two bytes as escaped bytes.
class AnsiCodec {
public:
    explicit AnsiCodec(Platform& platform) : platform_(platform) {}

    // Decodes `bytes` onto the end of `text`: each character the code page
    // defines and gives back becomes its character; a lead byte without a
    // valid trail byte is escaped alone, and the byte after it is decoded on
    // its own; a defined character that is not given back has each of its
    // bytes of 0x80 or more escaped. `bytes` end between two characters
    // (see LastSafeCut) or at the end of the file. Never more units than
    // bytes.
    void AppendDecoded(std::u16string& text, std::string_view bytes);

    // Encodes `text` onto the end of `bytes`, escaped bytes as themselves,
    // leaving room for `spare` more bytes; returns how many characters were
    // written as the default character.
    std::size_t AppendEncoded(std::string& bytes, std::u16string_view text, std::size_t spare = 0);

private:
    // Flat tables, one load per character; the one for units zeroed by the
    // system as its pages are first touched (calloc), so that a short text
    // pays for the few pages it touches, not for the whole table.
    struct Free {
        void operator()(void* memory) const { std::free(memory); }
    };
    template <typename Answer>
    using Table = std::unique_ptr<Answer[], Free>;

    void LearnLeads();
    char16_t AskSingle(unsigned char byte);
    char16_t AskPair(unsigned char lead, unsigned char trail);
    char16_t Character(std::string_view bytes);
    std::uint32_t AskUnit(char16_t unit);

    Platform& platform_;
    // What the system said, kept: which bytes lead (asked at the first byte
    // of 0x80 or more); what each such byte decodes to alone, and each lead
    // and trail byte together; what each unit encodes to (0: not asked yet).
    bool leadsKnown_ = false;
    std::array<bool, 128> lead_{};
    std::array<char16_t, 128> single_{};
    Table<char16_t> pairs_;
    Table<std::uint32_t> units_;
};

// The byte-keeping decode of a whole text of the ANSI code page.
std::u16string DecodeAnsi(Platform& platform, std::string_view bytes);

}  // namespace quenlix
