#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quenlix {

// Names as Windows' resolver matches them: one trailing dot does not matter,
// and neither does the case of ASCII letters. DNS names compare without
// regard to ASCII case only (RFC 4343); a name outside ASCII is compared as
// it is written.
std::u16string_view WithoutTrailingDot(std::u16string_view name);
bool SameHostName(std::u16string_view a, std::u16string_view b);

// Names seen so far, each with a number (a line), matched as above. The
// names are views into a text that outlives the table. Open addressing in
// one array that is used again after Clear: a whole hosts file of a million
// names goes in with no allocation per name.
class HostNameTable {
public:
    // The number stored with a name equal to `name`; if there is none,
    // stores `number` with `name` and returns nullptr.
    const std::uint32_t* FindOrAdd(std::u16string_view name, std::uint32_t number);
    // Empties the table in time proportional to what it held.
    void Clear();
    std::size_t Size() const { return used_.size(); }

private:
    struct Slot {
        std::u16string_view name;  // without its trailing dot; empty when free
        std::uint32_t number = 0;
        bool taken = false;
    };
    void Grow();
    std::size_t SlotOf(std::u16string_view name, std::size_t hash) const;

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> used_;  // the taken slots, for Clear and Grow
};

}  // namespace quenlix
