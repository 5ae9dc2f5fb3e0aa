#include "LineList.h"

#include "Latin1.h"
#include "TextLines.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kNul("\0", 1);

// The line each thread read last, so that reading lines in order (the row
// pass, a check, a page) finds each one from the one before.
struct LastLine {
    std::uint64_t list = 0; // the content's id; 0 is never loaded
    std::size_t index = 0;
    std::size_t start = 0;
    std::size_t end = 0; // its LF, or the end of the bytes
};
thread_local LastLine t_lastLine;

// The sequence lines each thread made last: a line's text stays valid while a few
// others are made after it (a row and its neighbours in a check or a page).
struct MadeLine {
    std::uint64_t list = 0;
    std::size_t index = 0;
    std::string text;
};
constexpr std::size_t kMadeLines = 4;
thread_local std::array<MadeLine, kMadeLines> t_madeLines;
thread_local std::size_t t_nextMade = 0;
std::atomic<std::uint64_t> g_contents{0};

// A lone CR ends a line as LF does; it becomes LF, so every line ends at an LF
// (a CR left is the first half of CR LF).
void LoneCrToLf(std::string& bytes) {
    for (std::size_t at = bytes.find('\r'); at != std::string::npos;
         at = bytes.find('\r', at + 1)) {
        if (at + 1 == bytes.size() || bytes[at + 1] != '\n') {
            bytes[at] = '\n';
        }
    }
}

} // namespace

void CLineList::Load(std::string bytes) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("a line list holds less than 4 GiB");
    }
    m_bytes = std::move(bytes);
    m_beyondLatin1.clear();
    m_sequence.reset();
    m_emptied.clear();
    if (std::string_view(m_bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        ConvertFromUtf8();
    } else {
        LoneCrToLf(m_bytes);
    }
    Index();
}

// Each line is moved down over the mark and converted where it lands, ending
// in LF. The output never overtakes the input: Latin-1 is never longer than
// its UTF-8, LF never longer than the terminator it replaces, and the mark
// leaves room for an LF after the last line.
void CLineList::ConvertFromUtf8() {
    char* const data = m_bytes.data();
    std::size_t out = 0;
    std::size_t index = 0;
    ForEachLine(std::string_view(m_bytes).substr(kUtf8Bom.size()), [&](std::string_view line) {
        std::memmove(data + out, line.data(), line.size());
        if (const std::optional<std::size_t> size = Utf8ToLatin1InPlace(data + out, line.size())) {
            out += *size;
        } else {
            m_beyondLatin1.resize(index + 1);
            m_beyondLatin1[index] = true;
            out += line.size();
        }
        data[out++] = '\n';
        ++index;
    });
    m_bytes.resize(out);
}

void CLineList::Index() {
    const std::size_t lfs =
        static_cast<std::size_t>(std::count(m_bytes.begin(), m_bytes.end(), '\n'));
    m_count = lfs + (!m_bytes.empty() && m_bytes.back() != '\n' ? 1 : 0);
    m_starts = std::vector<std::uint32_t>();
    m_starts.reserve((m_count + kStride - 1) / kStride);
    std::size_t start = 0;
    for (std::size_t i = 0; i < m_count; ++i) {
        if (i % kStride == 0) {
            m_starts.push_back(static_cast<std::uint32_t>(start));
        }
        start = m_bytes.find('\n', start) + 1; // 0 after the last line, never used
    }
    m_id = ++g_contents;
}

void CLineList::Generate(NumberSequence sequence) {
    m_bytes.clear();
    m_starts.clear();
    m_beyondLatin1.clear();
    m_emptied.clear();
    m_count = static_cast<std::size_t>(sequence.count);
    m_sequence = std::make_shared<const NumberSequence>(std::move(sequence));
    m_id = ++g_contents;
}

std::string_view CLineList::Made(std::size_t i) const {
    if (std::binary_search(m_emptied.begin(), m_emptied.end(), i)) {
        return {};
    }
    for (const MadeLine& made : t_madeLines) {
        if (made.list == m_id && made.index == i) {
            return made.text;
        }
    }
    MadeLine& made = t_madeLines[t_nextMade++ % kMadeLines];
    made.list = m_id;
    made.index = i;
    m_sequence->RowInto(i, made.text);
    return made.text;
}

std::string_view CLineList::Stored(std::size_t i) const {
    LastLine& last = t_lastLine;
    if (last.list != m_id || last.index != i) {
        std::size_t start = 0;
        if (last.list == m_id && last.index + 1 == i) {
            start = last.end + 1;
        } else {
            start = m_starts[i / kStride];
            for (std::size_t skip = i % kStride; skip > 0; --skip) {
                start = m_bytes.find('\n', start) + 1;
            }
        }
        last = {m_id, i, start, std::min(m_bytes.find('\n', start), m_bytes.size())};
    }
    std::string_view line(m_bytes.data() + last.start, last.end - last.start);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1); // of CR LF
    }
    return line;
}

std::string_view CLineList::GetAt(std::size_t i) const {
    if (m_sequence) {
        return Made(i);
    }
    return BeyondLatin1(i) ? kNul : Stored(i);
}

bool CLineList::BeyondLatin1(std::size_t i) const {
    return i < m_beyondLatin1.size() && m_beyondLatin1[i];
}

std::string CLineList::GetUtf8(std::size_t i) const {
    if (m_sequence) {
        return Latin1ToUtf8(Made(i));
    }
    if (BeyondLatin1(i)) {
        return std::string(Stored(i)); // as the file gave it
    }
    return Latin1ToUtf8(Stored(i));
}

// Moves every kept line down over the dropped texts; an emptied line keeps an LF.
void CLineList::EmptyLines(const std::vector<std::size_t>& places) {
    if (m_sequence) {
        std::vector<std::size_t> emptied;
        std::set_union(m_emptied.begin(), m_emptied.end(), places.begin(), places.end(),
                       std::back_inserter(emptied));
        m_emptied = std::move(emptied);
        m_id = ++g_contents; // lines made before are stale
        return;
    }
    char* const data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    std::size_t in = 0;
    std::size_t out = 0;
    auto next = places.begin();
    for (std::size_t i = 0; i < m_count; ++i) {
        const std::size_t end = std::min(m_bytes.find('\n', in), size - 1) + 1;
        if (next != places.end() && *next == i) {
            ++next;
            data[out++] = '\n';
            if (i < m_beyondLatin1.size()) {
                m_beyondLatin1[i] = false;
            }
        } else {
            std::memmove(data + out, data + in, end - in);
            out += end - in;
        }
        in = end;
    }
    m_bytes.resize(out);
    Index();
}
