#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 to 8-bit Latin-1. Empty result for malformed UTF-8 or a code point
// beyond U+00FF: such a text has no 8-bit form and is never altered silently.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// The same conversion over the text's own bytes (Latin-1 is never longer than
// its UTF-8): the new length, or empty with the bytes untouched.
std::optional<std::size_t> Utf8ToLatin1InPlace(char* text, std::size_t size);

// 8-bit Latin-1 to UTF-8 (always possible).
std::string Latin1ToUtf8(std::string_view latin1);
