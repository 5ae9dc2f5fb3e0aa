#pragma once

#include "Sequence.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text file, kept compactly: the file's bytes once, in the
// buffer handed to Load (changed in place, never copied), plus where every
// 32nd line starts. Split as SplitLines does. Read-only once loaded; any
// number of threads may read it.
// Bytes are kept as they are, except in a file that starts with a UTF-8
// byte-order mark: the mark is skipped and each line is converted from UTF-8
// to Latin-1; a line with no Latin-1 form reads as a single NUL byte, which
// every encoder refuses, so its row is refused; it keeps its text for messages.
// A list may instead hold a number sequence: its lines are made as they are read
// (each thread keeps the last few it made), and none is stored.
class CLineList {
public:
    // At most 4 GiB - 1 bytes (std::length_error past that; files are refused
    // long before).
    void Load(std::string bytes);
    // The lines of a sequence instead of a file's.
    void Generate(NumberSequence sequence);
    // The sequence the lines come from; null for a file's lines.
    const NumberSequence* Sequence() const { return m_sequence.get(); }
    // Line i as UTF-8, as the file gave it, for messages.
    std::string GetUtf8(std::size_t i) const;
    // Whether line i had no Latin-1 form.
    bool BeyondLatin1(std::size_t i) const;
    // Drops the text of the lines at places (ascending, in range): an empty
    // line each, in place.
    void EmptyLines(const std::vector<std::size_t>& places);

    std::size_t GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    std::string_view GetAt(std::size_t i) const;
    std::string_view operator[](std::size_t i) const { return GetAt(i); }

private:
    static constexpr std::size_t kStride = 32;

    // Line i's bytes as kept (a line beyond Latin-1 as UTF-8).
    std::string_view Stored(std::size_t i) const;
    void ConvertFromUtf8();
    void Index();

    // The lines; each ends in LF or CR LF, the last one may have no terminator.
    std::string m_bytes;
    std::vector<std::uint32_t> m_starts; // where lines 0, kStride, 2 kStride ... start
    std::size_t m_count = 0;
    std::uint64_t m_id = 0;                           // tells one loaded content from every other
    std::vector<bool> m_beyondLatin1;                 // up to the last line with no Latin-1 form
    std::shared_ptr<const NumberSequence> m_sequence; // the lines' sequence, or none
    std::vector<std::size_t> m_emptied;               // its lines emptied, ascending
    // Line i of the sequence, valid until the thread has made a few other lines.
    std::string_view Made(std::size_t i) const;
};
