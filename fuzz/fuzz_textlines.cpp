// Text-list handling: splitting into lines, the line list and the Latin-1/UTF-8 conversions.

#include "FuzzCheck.h"
#include "Latin1.h"
#include "LineList.h"
#include "TextLines.h"

#include <string_view>

namespace {

// CR LF and lone CR become LF; one final LF is dropped.
std::string Normalised(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            out += '\n';
            i += (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 1 : 0;
        } else {
            out += bytes[i];
        }
    }
    if (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

void CheckLines(std::string_view bytes) {
    const std::vector<std::string> lines = SplitLines(bytes);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += (i == 0 ? "" : "\n") + lines[i];
        Require(lines[i].find_first_of("\r\n") == std::string::npos);
    }
    Require(joined == Normalised(bytes));

    std::size_t seen = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        Require(seen < lines.size() && line == lines[seen]);
        ++seen;
    });
    Require(seen == lines.size());
}

void CheckLatin1(std::string_view bytes) {
    // Any bytes taken as Latin-1 survive the trip through UTF-8.
    const std::optional<std::string> back = Utf8ToLatin1(Latin1ToUtf8(bytes));
    Require(back.has_value() && *back == bytes);

    // Whatever UTF-8 is accepted converts back to exactly the same bytes, so
    // malformed or over-long forms are never accepted.
    if (const std::optional<std::string> latin1 = Utf8ToLatin1(bytes)) {
        Require(Latin1ToUtf8(*latin1) == bytes);
    }
}

// The line list holds the lines SplitLines gives; after a byte-order mark
// each one converted to Latin-1, or refused (a NUL) with its UTF-8 kept.
void CheckLineList(std::string_view bytes) {
    const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    const std::vector<std::string> lines = SplitLines(utf8 ? bytes.substr(3) : bytes);
    CLineList list;
    list.Load(std::string(bytes));
    Require(list.GetSize() == lines.size());
    for (std::size_t i = list.GetSize(); i-- > 0;) {
        const std::optional<std::string> latin1 = utf8 ? Utf8ToLatin1(lines[i]) : lines[i];
        Require(list.BeyondLatin1(i) == !latin1);
        Require(list.GetAt(i) == (latin1 ? *latin1 : std::string(1, '\0')));
        Require(list.GetUtf8(i) == (latin1 ? Latin1ToUtf8(*latin1) : lines[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckLines(bytes);
    CheckLineList(bytes);
    CheckLatin1(bytes);
    return 0;
}
