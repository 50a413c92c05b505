#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
// together here from its answers. Asked for whole pieces with those flags,
// Wine takes two and a half times as long to decode and four times as long
// to encode as without them, and a save must also know how many characters
// became the default character, which the system tells only as yes or no;
// a hosts file holds few distinct characters among its many ASCII ones.
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
    bool IsLead(unsigned char byte);
    char16_t Single(unsigned char byte);
    char16_t Pair(unsigned char lead, unsigned char trail);
    char16_t Character(std::string_view bytes);
    std::uint32_t Encoded(char16_t unit);

    // Answers for 256 neighbours at a time (the trail bytes of one lead
    // byte, the units of one block), made when the first of them is asked:
    // a hosts file touches few of them.
    template <typename Answer>
    using Blocks = std::vector<std::unique_ptr<std::array<Answer, 256>>>;

    template <typename Answer>
    static Answer& Kept(Blocks<Answer>& blocks, std::size_t index);

    Platform& platform_;
    // What the system said, kept: for each byte of 0x80 or more whether it
    // leads (0 not asked, 1 no, 2 yes) and what it decodes to alone; what
    // each lead and trail byte decode to; what each unit encodes to.
    std::array<std::uint8_t, 128> lead_{};
    std::array<char16_t, 128> single_{};
    Blocks<char16_t> pairs_;
    Blocks<std::uint32_t> units_;
};

// The byte-keeping decode of a whole text of the ANSI code page.
std::u16string DecodeAnsi(Platform& platform, std::string_view bytes);

}  // namespace quenlix
