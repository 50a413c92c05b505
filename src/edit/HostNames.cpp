#include "edit/HostNames.h"

#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

std::size_t FoldedHash(std::u16string_view name) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char16_t c : name) hash = (hash ^ AsciiLower(c)) * 1099511628211ull;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

bool FoldedEqual(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

std::u16string_view WithoutTrailingDot(std::u16string_view name) {
    if (!name.empty() && name.back() == u'.') name.remove_suffix(1);
    return name;
}

bool SameHostName(std::u16string_view a, std::u16string_view b) {
    return FoldedEqual(WithoutTrailingDot(a), WithoutTrailingDot(b));
}

std::size_t HostNameTable::SlotOf(std::u16string_view name, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].taken && !FoldedEqual(slots_[at].name, name)) at = (at + 1) & mask;
    return at;
}

const std::uint32_t* HostNameTable::FindOrAdd(std::u16string_view name, std::uint32_t number) {
    name = WithoutTrailingDot(name);
    // At most half full, so that a search for a missing name stops soon.
    if ((used_.size() + 1) * 2 > slots_.size()) Grow();
    const std::size_t at = SlotOf(name, FoldedHash(name));
    Slot& slot = slots_[at];
    if (slot.taken) return &slot.number;
    slot = {name, number, true};
    used_.push_back(static_cast<std::uint32_t>(at));
    return nullptr;
}

void HostNameTable::Clear() {
    for (const std::uint32_t at : used_) slots_[at] = {};
    used_.clear();
}

void HostNameTable::Grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    std::vector<std::uint32_t> taken;
    taken.swap(used_);
    used_.reserve(taken.size() * 2);
    for (const std::uint32_t at : taken) {
        const Slot& slot = old[at];
        const std::size_t to = SlotOf(slot.name, FoldedHash(slot.name));
        slots_[to] = slot;
        used_.push_back(static_cast<std::uint32_t>(to));
    }
}

}  // namespace quenlix
