#pragma once

// Code 128 kept apart from the encoder, for tests and fuzzers to check it
// against: the symbol table of ISO/IEC 15417 as module widths and the walk of
// a text through the subsets.

#include <array>
#include <string_view>
#include <vector>

namespace code128ref {

constexpr int kSubsetA = 0;
constexpr int kSubsetB = 1;
constexpr int kSubsetC = 2;
constexpr int kStop = 106;

// Bar, space, bar, space, bar, space in modules. Entry 106 is the stop
// without its termination bar.
constexpr std::array<std::string_view, 107> kWidths{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "233111",
};
// The stop with its termination bar.
constexpr std::string_view kStopWidths = "2331112";

// atoi over a digit pair (or a last single byte) of subset C.
inline int PairValue(std::string_view pair) {
    std::size_t i = 0;
    while (i < pair.size() && std::string_view(" \t\n\v\f\r").find(pair[i]) != pair.npos) {
        ++i;
    }
    int sign = 1;
    if (i < pair.size() && (pair[i] == '+' || pair[i] == '-')) {
        sign = pair[i] == '-' ? -1 : 1;
        ++i;
    }
    int value = 0;
    for (; i < pair.size() && pair[i] >= '0' && pair[i] <= '9'; ++i) {
        value = value * 10 + (pair[i] - '0');
    }
    return sign * value;
}

// The value of byte c in subset A or B, or -1 when it has none.
inline int ByteValue(int c, int subset) {
    if (c >= 195 && c <= 206) {
        return c - 100;
    }
    if (c >= 32 && c <= 95) {
        return c - 32;
    }
    if (subset == kSubsetA && c < 32) {
        return c + 64;
    }
    if (subset == kSubsetB && c >= 96 && c <= 126) {
        return c - 32;
    }
    return -1;
}

// The values between start and check symbol for text started in subset,
// following the shifts the values make. A byte without a value (or a
// negative pair) ends the walk with -1.
inline std::vector<int> Values(std::string_view text, int subset) {
    std::vector<int> values;
    for (std::size_t i = 0; i < text.size();) {
        const int c = static_cast<unsigned char>(text[i]);
        int value = 0;
        if (subset == kSubsetC && c != 200 && c != 201 && c != 202) {
            value = PairValue(text.substr(i, 2));
            i += 2;
        } else {
            value = subset == kSubsetC ? c - 100 : ByteValue(c, subset);
            ++i;
        }
        values.push_back(value < 0 ? -1 : value);
        if (value < 0) {
            break;
        }
        if (value == 99 && subset != kSubsetC) {
            subset = kSubsetC;
        } else if (value == 100 && subset != kSubsetB) {
            subset = kSubsetB;
        } else if (value == 101 && subset != kSubsetA) {
            subset = kSubsetA;
        }
    }
    return values;
}

} // namespace code128ref
