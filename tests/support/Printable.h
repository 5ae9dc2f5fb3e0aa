#pragma once

#include <string>
#include <string_view>

// A text for a failure message: printable ASCII as it stands, every other
// byte as \xHH, in quotes.
inline std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32 && c < 127 && c != '\\') {
            out += ch;
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out + "\"";
}
