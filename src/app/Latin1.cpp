#include "Latin1.h"

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            continue;
        }
        // Only two-byte sequences C2 80 .. C3 BF map into Latin-1; anything
        // else is either beyond U+00FF or malformed.
        if ((b != 0xC2 && b != 0xC3) || i + 1 >= utf8.size()) {
            return std::nullopt;
        }
        const auto c = static_cast<unsigned char>(utf8[i + 1]);
        if ((c & 0xC0) != 0x80) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(((b & 0x03) << 6) | (c & 0x3F)));
        ++i;
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size() * 2);
    for (char ch : latin1) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}
