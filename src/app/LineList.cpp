#include "LineList.h"

#include "TextLines.h"

void CLineList::Load(std::string bytes) {
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
