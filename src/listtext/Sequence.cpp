#include "Sequence.h"

#include "Latin1.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace {

constexpr int kMaxWidth = 40;

std::optional<std::int64_t> ToInt64(std::string_view v) {
    std::int64_t n = 0;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (v.empty() || ec != std::errc() || ptr != v.data() + v.size()) {
        return std::nullopt;
    }
    return n;
}

// Literal text of a pattern, '%%' made one '%', in Latin-1; none when it is not Latin-1.
std::optional<std::string> Literal(std::string_view utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        text += utf8[i];
        if (utf8[i] == '%') {
            ++i; // the caller has checked it is '%%'
        }
    }
    return Utf8ToLatin1(text);
}

// The text in double quotes, for messages.
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    return quoted.append(1, '"').append(text).append(1, '"');
}

} // namespace

std::string NumberSequence::Row(std::uint64_t i) const {
    std::string row;
    RowInto(i, row);
    return row;
}

void NumberSequence::RowInto(std::uint64_t i, std::string& out) const {
    // Steps within the range never overflow: from + i * step lies between FROM and TO.
    const auto value = static_cast<long long>(static_cast<std::uint64_t>(from) +
                                              i * static_cast<std::uint64_t>(step));
    char digits[kMaxWidth + 32];
    const int n = std::snprintf(digits, sizeof digits, field.c_str(), value);
    out.assign(prefix).append(digits, static_cast<std::size_t>(n)).append(suffix);
}

std::string ParseSequenceRange(std::string_view text, NumberSequence& sequence) {
    const std::string shown = Quoted(text);
    const std::size_t dots = text.find("..");
    const std::size_t slash = text.find('/');
    const auto from = dots == std::string_view::npos ? std::nullopt : ToInt64(text.substr(0, dots));
    const auto to = from ? ToInt64(text.substr(dots + 2, slash - (dots + 2))) : std::nullopt;
    const auto step = slash == std::string_view::npos ? std::optional<std::int64_t>(1)
                                                      : ToInt64(text.substr(slash + 1));
    if (!from || !to || !step) {
        return "the range must be FROM..TO or FROM..TO/STEP with 64-bit integers, not " + shown;
    }
    if (*step == 0) {
        return "the step of the range " + shown + " is 0";
    }
    if ((*step > 0 && *to < *from) || (*step < 0 && *to > *from)) {
        return "the range " + shown + " holds no number: it runs " + (*step > 0 ? "down" : "up") +
               " with a step of " + std::to_string(*step);
    }
    // Unsigned differences are exact for the whole 64-bit range.
    const auto high = static_cast<std::uint64_t>(std::max(*from, *to));
    const auto low = static_cast<std::uint64_t>(std::min(*from, *to));
    const std::uint64_t distance = high - low;
    const std::uint64_t stride =
        *step > 0 ? static_cast<std::uint64_t>(*step) : 0 - static_cast<std::uint64_t>(*step);
    if (distance / stride >= NumberSequence::kMaxRows) {
        return "the range " + shown + " holds more than " +
               std::to_string(NumberSequence::kMaxRows) + " numbers";
    }
    sequence.from = *from;
    sequence.step = *step;
    sequence.count = distance / stride + 1;
    return {};
}

std::string ParseSequencePattern(std::string_view pattern, NumberSequence& sequence) {
    const std::string shown = Quoted(pattern);
    std::size_t field = std::string_view::npos;
    std::size_t fieldEnd = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            ++i;
            continue;
        }
        if (field != std::string_view::npos) {
            return "the pattern " + shown + " has more than one field: give one, such as %06d";
        }
        const std::size_t flagsEnd = pattern.find_first_not_of("-+ 0#", i + 1);
        const std::size_t widthEnd = pattern.find_first_not_of("0123456789", flagsEnd);
        if (widthEnd == std::string_view::npos ||
            std::string_view("diuxXo").find(pattern[widthEnd]) == std::string_view::npos) {
            return "the pattern " + shown +
                   " has a field that is not an integer field (%d, %i, %u, %x, %X or %o)";
        }
        if (widthEnd - flagsEnd > 2 ||
            (widthEnd > flagsEnd && std::stoi(std::string(pattern.substr(flagsEnd))) > kMaxWidth)) {
            return "the field of the pattern " + shown + " is wider than " +
                   std::to_string(kMaxWidth);
        }
        field = i;
        fieldEnd = widthEnd + 1;
        i = widthEnd;
    }
    if (field == std::string_view::npos) {
        return "the pattern " + shown + " has no number field: add one, such as %06d";
    }
    const auto prefix = Literal(pattern.substr(0, field));
    const auto suffix = Literal(pattern.substr(fieldEnd));
    if (!prefix || !suffix) {
        return "the pattern " + shown + " is not Latin-1 text";
    }
    const std::string_view conversion = pattern.substr(field, fieldEnd - field);
    sequence.pattern = std::string(pattern);
    sequence.prefix = *prefix;
    sequence.suffix = *suffix;
    sequence.field =
        std::string(conversion.substr(0, conversion.size() - 1)) + "ll" + conversion.back();
    return {};
}
