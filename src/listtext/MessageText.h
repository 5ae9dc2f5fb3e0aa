#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts quoted in one-line messages, as UTF-8: control characters (C0, DEL and C1) shown as
// \xHH, and a text wider than maxChars characters cut so that, ending in "…" and its full
// length ("… (1234 characters)"), it is maxChars characters wide.
inline constexpr std::size_t kMessageTextChars = 80;

// A Latin-1 text, as labels are held; only its first maxChars bytes are read.
std::string MessageText(std::string_view latin1, std::size_t maxChars = kMessageTextChars);
// A UTF-8 text; bytes that are not UTF-8 are shown as \xHH.
std::string MessageTextUtf8(std::string_view utf8, std::size_t maxChars = kMessageTextChars);
