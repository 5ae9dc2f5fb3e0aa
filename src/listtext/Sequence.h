#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbered rows without a file: FROM..TO[/STEP] written through a pattern of literal
// text with one printf-style integer field (ITEM-%06d). Each row is made when it is
// read; nothing is stored per row.
struct NumberSequence {
    // At most this many rows.
    static constexpr std::uint64_t kMaxRows = 100'000'000;

    std::int64_t from = 1;
    std::int64_t step = 1;
    std::uint64_t count = 0;
    std::string pattern = "%d"; // as given (UTF-8), for titles and messages
    std::string prefix;         // Latin-1 text before the field ('%%' already one '%')
    std::string field = "%lld"; // the field as a 64-bit printf conversion
    std::string suffix;         // Latin-1 text after it

    // Row i's text (i below count).
    std::string Row(std::uint64_t i) const;
    // The same into out, reusing its storage.
    void RowInto(std::uint64_t i, std::string& out) const;
};

// Reads FROM..TO[/STEP] (64-bit integers, STEP not 0, negative to count down) into
// sequence; empty, or why it is no range.
std::string ParseSequenceRange(std::string_view text, NumberSequence& sequence);
// Reads a pattern with exactly one integer field (%d, %i, %u, %x, %X or %o with flags
// -+ 0# and a width up to 40; '%%' for a percent sign) into sequence; empty, or why not.
std::string ParseSequencePattern(std::string_view pattern, NumberSequence& sequence);
