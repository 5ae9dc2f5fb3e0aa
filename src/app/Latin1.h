#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 to 8-bit Latin-1. Empty result for malformed UTF-8 or a code point
// beyond U+00FF: such a text has no 8-bit form and is never altered silently.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// 8-bit Latin-1 to UTF-8 (always possible).
std::string Latin1ToUtf8(std::string_view latin1);
