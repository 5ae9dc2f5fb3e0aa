#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text file, kept compactly: the file's bytes once, plus where
// each line starts. Split as SplitLines does. Read-only once loaded.
// Bytes are kept as they are, except in a file that starts with a UTF-8
// byte-order mark: the mark is skipped and each line is converted from UTF-8
// to Latin-1; a line with no Latin-1 form is kept behind a NUL byte, which
// every encoder refuses, so its row is refused.
class CLineList {
public:
    void Load(std::string bytes);
    // Line i as UTF-8, as the file gave it, for messages.
    std::string GetUtf8(std::size_t i) const;
    // Whether line i had no Latin-1 form (it is then held behind a NUL byte).
    bool BeyondLatin1(std::size_t i) const;

    std::size_t GetSize() const { return m_starts.size(); }
    bool IsEmpty() const { return m_starts.empty(); }
    std::string_view GetAt(std::size_t i) const;
    std::string_view operator[](std::size_t i) const { return GetAt(i); }

private:
    std::string m_bytes;
    std::vector<std::uint64_t> m_starts;
    std::vector<std::uint64_t> m_beyondLatin1; // lines with no Latin-1 form, ascending
};
