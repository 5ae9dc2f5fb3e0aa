#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A failed check traps, so the fuzzer stops and keeps the input.
inline void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The input as the NUL-terminated text an encoder sees: it ends at the first
// NUL byte.
inline std::string TextOf(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    return text;
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
