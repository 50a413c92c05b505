#include "edit/HostNames.h"

#include <cstring>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

// Four units at a time: the hash of every name of a blocklist is worked out
// on the way through a million lines, and a unit at a time made that one
// long chain of multiplications. Each unit has bit 0x20 set first, so that
// the two cases of a letter hash alike; the other units it pairs ('@' and
// '`', for one) only share a hash, which FoldedEqual tells apart.
std::uint64_t Mixed(std::uint64_t hash) {
    hash *= 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 32);
}

std::size_t FoldedHash(std::u16string_view name) {
    constexpr std::uint64_t fold = 0x0020002000200020ull;
    std::uint64_t hash = name.size();
    std::size_t i = 0;
    for (; i + 4 <= name.size(); i += 4) {
        std::uint64_t units;
        std::memcpy(&units, name.data() + i, sizeof units);
        hash = Mixed(hash ^ (units | fold));
    }
    std::uint64_t rest = 0;
    for (; i < name.size(); ++i) rest = rest << 16 | (name[i] | 0x20u);
    hash = Mixed(Mixed(hash ^ rest));
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

std::size_t HostNameTable::SlotOf(std::u16string_view name, std::size_t hash, std::uint32_t sizeAndTag) const {
    const std::size_t mask = capacity_ - 1;
    std::size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.name == nullptr) return at;
        if (slot.sizeAndTag == sizeAndTag && FoldedEqual({slot.name, name.size()}, name)) return at;
    }
}


namespace {

std::uint32_t SizeAndTag(std::size_t size, std::size_t hash) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(hash) >> 32) & 0xFFFFFF00u) |
           static_cast<std::uint32_t>(size);
}

}  // namespace

std::size_t HostNameTable::Hash(std::u16string_view name) { return FoldedHash(WithoutTrailingDot(name)); }

void HostNameTable::Prefetch(std::size_t hash) const {
#if defined(__SSE2__) || defined(_M_X64)
    if (capacity_ != 0) _mm_prefetch(reinterpret_cast<const char*>(&slots_[hash & (capacity_ - 1)]), _MM_HINT_T0);
#endif
}

void HostNameTable::PrefetchName(std::u16string_view name, std::size_t hash) const {
#if defined(__SSE2__) || defined(_M_X64)
    if (capacity_ == 0) return;
    const Slot& slot = slots_[hash & (capacity_ - 1)];
    if (slot.name != nullptr && slot.sizeAndTag == SizeAndTag(WithoutTrailingDot(name).size(), hash))
        _mm_prefetch(reinterpret_cast<const char*>(slot.name), _MM_HINT_T0);
#endif
}

const std::uint32_t* HostNameTable::FindOrAdd(std::u16string_view name, std::size_t hash, std::uint32_t number) {
    name = WithoutTrailingDot(name);
    if (name.empty() || name.size() > 255) return nullptr;
    // At most two thirds full, so that a search for a missing name stops soon.
    if ((used_.size() + 1) * 3 > capacity_ * 2) Resize(capacity_ == 0 ? 16 : capacity_ * 2);
    const std::uint32_t sizeAndTag = SizeAndTag(name.size(), hash);
    const std::size_t at = SlotOf(name, hash, sizeAndTag);
    Slot& slot = slots_[at];
    if (slot.name != nullptr) return &slot.number;
    slot = {name.data(), sizeAndTag, number};
    used_.push_back(static_cast<std::uint32_t>(at));
    return nullptr;
}

void HostNameTable::Reserve(std::size_t names) {
    std::size_t capacity = 16;
    while (names * 3 > capacity * 2) capacity *= 2;
    if (capacity > capacity_) Resize(capacity);
}

void HostNameTable::Clear() {
    for (const std::uint32_t at : used_) slots_[at] = {};
    used_.clear();
}

void HostNameTable::Resize(std::size_t capacity) {
    auto* const fresh = static_cast<Slot*>(std::calloc(capacity, sizeof(Slot)));
    if (fresh == nullptr) throw std::bad_alloc();
    std::unique_ptr<Slot[], Free> old(fresh);
    old.swap(slots_);
    capacity_ = capacity;
    std::vector<std::uint32_t> taken;
    taken.swap(used_);
    used_.reserve(capacity * 2 / 3);
    for (const std::uint32_t at : taken) {
        const Slot& slot = old[at];
        const std::u16string_view name(slot.name, slot.sizeAndTag & 0xFF);
        const std::size_t to = SlotOf(name, FoldedHash(name), slot.sizeAndTag);
        slots_[to] = slot;
        used_.push_back(static_cast<std::uint32_t>(to));
    }
}

}  // namespace quenlix
