#include "MessageText.h"

#include "Latin1.h"

#include <algorithm>

namespace {

// Length of the UTF-8 sequence at pos (shortest forms, no surrogates); 0 when the byte
// there starts none.
std::size_t SequenceLength(std::string_view s, std::size_t pos) {
    const auto b = static_cast<unsigned char>(s[pos]);
    const std::size_t n = b < 0x80   ? 1
                          : b < 0xC2 ? 0
                          : b < 0xE0 ? 2
                          : b < 0xF0 ? 3
                          : b < 0xF5 ? 4
                                     : 0;
    if (n == 0 || pos + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    const auto second = n > 1 ? static_cast<unsigned char>(s[pos + 1]) : 0;
    const bool overlong = (b == 0xE0 && second < 0xA0) || (b == 0xF0 && second < 0x90);
    const bool beyond = (b == 0xED && second >= 0xA0) || (b == 0xF4 && second >= 0x90);
    return overlong || beyond ? 0 : n;
}

// Appends the character at pos as shown and moves past it; returns its width.
std::size_t ShowNext(std::string_view s, std::size_t& pos, std::string& out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::size_t n = SequenceLength(s, pos);
    const auto b = static_cast<unsigned char>(s[pos]);
    const auto c1 = n == 2 && b == 0xC2 ? static_cast<unsigned char>(s[pos + 1]) : 0xFF;
    if (n == 0 || (n == 1 && (b < 0x20 || b == 0x7F)) || c1 < 0xA0) {
        const unsigned char shown = c1 < 0xA0 ? c1 : b;
        out += "\\x";
        out += kHex[shown >> 4];
        out += kHex[shown & 15];
        pos += n == 0 ? 1 : n;
        return 4;
    }
    out.append(s.substr(pos, n));
    pos += n;
    return 1;
}

// Shows utf8, a text of totalChars characters or the start of one.
std::string Shorten(std::string_view utf8, std::size_t totalChars, std::size_t maxChars) {
    const std::string count = std::to_string(totalChars);
    const std::size_t noteWidth = count.size() + 15; // "… (" count " characters)"
    const std::size_t budget = maxChars > noteWidth ? maxChars - noteWidth : 0;
    std::string shown;
    std::size_t cut = 0;
    std::size_t width = 0;
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < utf8.size() && width <= maxChars; ++chars) {
        width += ShowNext(utf8, pos, shown);
        cut = width <= budget ? shown.size() : cut;
    }
    if (chars == totalChars && width <= maxChars) {
        return shown;
    }
    shown.resize(cut);
    return shown + "\u2026 (" + count + " characters)";
}

} // namespace

std::string MessageText(std::string_view latin1, std::size_t maxChars) {
    return Shorten(Latin1ToUtf8(latin1.substr(0, maxChars)), latin1.size(), maxChars);
}

std::string MessageTextUtf8(std::string_view utf8, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++chars) {
        pos += std::max<std::size_t>(SequenceLength(utf8, pos), 1);
    }
    return Shorten(utf8, chars, maxChars);
}
