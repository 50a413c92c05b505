#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
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
// one array of 16-byte slots that is used again after Clear: a whole hosts
// file of a million names goes in with no allocation per name.
class HostNameTable {
public:
    // Room for `names` names without growing.
    void Reserve(std::size_t names);
    // The number stored with a name equal to `name`; if there is none,
    // stores `number` with `name` and returns nullptr. A name longer than
    // 255 units, as no valid name is, is never stored.
    const std::uint32_t* FindOrAdd(std::u16string_view name, std::uint32_t number) {
        return FindOrAdd(name, Hash(name), number);
    }
    // The same with the name's Hash, worked out before.
    const std::uint32_t* FindOrAdd(std::u16string_view name, std::size_t hash, std::uint32_t number);
    static std::size_t Hash(std::u16string_view name);
    // Asks the processor to fetch where a name of this hash will be looked
    // for: a caller that knows the next few names ahead overlaps their
    // fetches from memory, which the lookups of a large table are made of.
    void Prefetch(std::size_t hash) const;
    // Later, once that place is fetched: fetches the text of the name that
    // stands there if it may be this one, which the comparison reads.
    void PrefetchName(std::u16string_view name, std::size_t hash) const;
    // Empties the table in time proportional to what it held.
    void Clear();
    std::size_t Size() const { return used_.size(); }

private:
    struct Slot {
        const char16_t* name;  // without its trailing dot; null when free
        // The name's size in the low 8 bits, 24 bits of its hash above: a
        // slot of another name is told apart without a look at its text.
        std::uint32_t sizeAndTag;
        std::uint32_t number;
    };
    struct Free {
        void operator()(Slot* slots) const { std::free(slots); }
    };
    void Resize(std::size_t slots);
    std::size_t SlotOf(std::u16string_view name, std::size_t hash, std::uint32_t sizeAndTag) const;

    // From calloc: the system hands over zeroed pages as they are first
    // touched, instead of the table writing zeros over all of them.
    std::unique_ptr<Slot[], Free> slots_;
    std::size_t capacity_ = 0;  // a power of two
    std::vector<std::uint32_t> used_;  // the taken slots, for Clear and Resize
};

}  // namespace quenlix
