#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text file, kept compactly: the file's bytes once, plus where
// each line starts. Split as SplitLines does. Read-only once loaded.
class CLineList {
public:
    void Load(std::string bytes);

    std::size_t GetSize() const { return m_starts.size(); }
    bool IsEmpty() const { return m_starts.empty(); }
    std::string_view GetAt(std::size_t i) const;
    std::string_view operator[](std::size_t i) const { return GetAt(i); }

private:
    std::string m_bytes;
    std::vector<std::uint64_t> m_starts;
};
