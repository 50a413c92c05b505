#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quenlix {

// What a file held at one moment, small enough to keep: its size and a hash
// of its bytes. Two snapshots that differ mean the file changed; the hash is
// for telling a change made by someone else, not for defending against one
// made to look the same.
struct FileSnapshot {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;

    friend bool operator==(const FileSnapshot&, const FileSnapshot&) = default;
};

// Takes a snapshot of bytes seen in pieces, in order; where the pieces are
// cut does not change the result. Four independent lanes of a multiply and
// rotate over eight-byte words keep it a small part of reading a file.
class SnapshotBuilder {
public:
    void Add(std::string_view bytes) {
        if (bytes.empty()) return;  // an empty view may have no data to copy from
        size_ += bytes.size();
        if (held_ > 0) {
            const std::size_t take = std::min(bytes.size(), sizeof block_ - held_);
            std::memcpy(block_ + held_, bytes.data(), take);
            held_ += take;
            bytes.remove_prefix(take);
            if (held_ < sizeof block_) return;
            Mix(block_);
            held_ = 0;
        }
        while (bytes.size() >= sizeof block_) {
            Mix(bytes.data());
            bytes.remove_prefix(sizeof block_);
        }
        std::memcpy(block_, bytes.data(), bytes.size());
        held_ = bytes.size();
    }

    FileSnapshot Finish() const {
        std::uint64_t h = size_ * Prime;
        for (const std::uint64_t lane : lanes_) h = Rotate(h ^ lane, 29) * Prime;
        for (std::size_t i = 0; i < held_; ++i) h = (h ^ static_cast<unsigned char>(block_[i])) * Prime;
        h ^= h >> 32;
        return {size_, h};
    }

    static FileSnapshot Of(std::string_view bytes) {
        SnapshotBuilder builder;
        builder.Add(bytes);
        return builder.Finish();
    }

private:
    static constexpr std::uint64_t Prime = 0x9E3779B97F4A7C15ull;
    static std::uint64_t Rotate(std::uint64_t x, int by) { return (x << by) | (x >> (64 - by)); }

    void Mix(const char* block) {
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, block + 8 * lane, sizeof word);
            lanes_[lane] = Rotate((lanes_[lane] ^ word) * Prime, 31);
        }
    }

    std::uint64_t size_ = 0;
    std::uint64_t lanes_[4] = {1, 2, 3, 4};
    char block_[32] = {};
    std::size_t held_ = 0;
};

}  // namespace quenlix
