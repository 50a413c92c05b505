#pragma once

// What the two benchmark programs share: reading the generated files, and the
// clock.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace quenlix::bench {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A UTF-16LE file as it was written by bench/make-hosts.py (no byte-order mark).
inline std::u16string ReadUtf16(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

// Milliseconds that `work` takes, on the steady clock.
template <typename Work>
double TimeMs(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Keeps the optimiser from dropping a result nobody reads.
template <typename T>
void Keep(const T& value) {
    asm volatile("" : : "g"(&value) : "memory");
}

}  // namespace quenlix::bench
