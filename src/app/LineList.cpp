#include "LineList.h"

#include "Latin1.h"
#include "TextLines.h"

#include <algorithm>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

void CLineList::Load(std::string bytes) {
    m_beyondLatin1.clear();
    if (std::string_view(bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        // Every line ends in LF here, so the lines split as in the file.
        std::string latin1;
        std::uint64_t index = 0;
        ForEachLine(std::string_view(bytes).substr(kUtf8Bom.size()), [&](std::string_view line) {
            if (const auto converted = Utf8ToLatin1(line)) {
                latin1 += *converted;
            } else {
                m_beyondLatin1.push_back(index);
                latin1 += '\0';
                latin1 += line;
            }
            latin1 += '\n';
            ++index;
        });
        bytes = std::move(latin1);
    }
    m_bytes = std::move(bytes);
    m_starts.clear();
    const char* base = m_bytes.data();
    ForEachLine(std::string_view(m_bytes), [&](std::string_view line) {
        m_starts.push_back(static_cast<std::uint64_t>(line.data() - base));
    });
    m_starts.shrink_to_fit();
}

std::string_view CLineList::GetAt(std::size_t i) const {
    const std::size_t start = m_starts[i];
    const std::size_t next = i + 1 < m_starts.size() ? m_starts[i + 1] : m_bytes.size();
    std::string_view span(m_bytes.data() + start, next - start);
    // A line holds no CR or LF of its own: whatever ends the span is its terminator.
    if (span.size() >= 2 && span.substr(span.size() - 2) == "\r\n") {
        span.remove_suffix(2);
    } else if (!span.empty() && (span.back() == '\n' || span.back() == '\r')) {
        span.remove_suffix(1);
    }
    return span;
}

bool CLineList::BeyondLatin1(std::size_t i) const {
    return std::binary_search(m_beyondLatin1.begin(), m_beyondLatin1.end(), i);
}

std::string CLineList::GetUtf8(std::size_t i) const {
    const std::string_view line = GetAt(i);
    if (BeyondLatin1(i)) {
        return std::string(line.substr(1)); // behind its NUL, as the file gave it
    }
    return Latin1ToUtf8(line);
}
