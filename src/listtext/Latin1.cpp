#include "Latin1.h"

namespace {

// Only two-byte sequences C2 80 .. C3 BF map into Latin-1; anything else at
// or above 0x80 is either beyond U+00FF or malformed.
bool IsLatin1Utf8(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            continue;
        }
        if ((b != 0xC2 && b != 0xC3) || i + 1 >= utf8.size() ||
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) != 0x80) {
            return false;
        }
        ++i;
    }
    return true;
}

} // namespace

std::optional<std::size_t> Utf8ToLatin1InPlace(char* text, std::size_t size) {
    if (!IsLatin1Utf8(std::string_view(text, size))) {
        return std::nullopt;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < size; ++i, ++out) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            text[out] = text[i];
        } else {
            const auto c = static_cast<unsigned char>(text[++i]);
            text[out] = static_cast<char>(((b & 0x03) << 6) | (c & 0x3F));
        }
    }
    return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    std::string out(utf8);
    const std::optional<std::size_t> size = Utf8ToLatin1InPlace(out.data(), out.size());
    if (!size) {
        return std::nullopt;
    }
    out.resize(*size);
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
