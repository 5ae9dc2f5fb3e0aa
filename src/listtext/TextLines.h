#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits raw bytes into lines. A line ends at LF, CR LF or a lone CR; the
// terminator is dropped, a last line without one still counts, and a final
// terminator adds no empty line. Bytes are kept as they are.
std::vector<std::string> SplitLines(std::string_view bytes);

// Calls onLine(line) for each line of bytes, split as SplitLines does. (Not
// "emit": Qt defines that as an empty macro.)
template <typename OnLine> void ForEachLine(std::string_view bytes, OnLine&& onLine) {
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    while (start < n) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            onLine(bytes.substr(start));
            return;
        }
        onLine(bytes.substr(start, end - start));
        start = end + ((bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ? 2 : 1);
    }
}
