#include "RowCheck.h"

#include "Code128Tables.h"
#include "Code39Tables.h"
#include "Code93Tables.h"
#include "Ean13Tables.h"
#include "I2of5Tables.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace {

constexpr const char* kTooLong = "The text is too long for the element buffer: ";

std::string Number(std::size_t n) {
    return std::to_string(n);
}

// A byte as a reason shows it: printable ASCII in quotes, anything else in hex.
std::string ByteShown(unsigned char byte) {
    if (byte >= 0x20 && byte < 0x7F && byte != '"') {
        return std::string("\"") + static_cast<char>(byte) + "\"";
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
}

std::string NoValue(const std::string& label, std::size_t at, const char* where,
                    const char* takes) {
    return "Character " + Number(at + 1) + ", " + ByteShown(static_cast<unsigned char>(label[at])) +
           ", is not in " + where + " (" + takes + ").";
}

std::string Code39Reason(const std::string& label) {
    const auto bad = std::ranges::find_if(
        label, [](char c) { return code39::RowOf(code39::ToUpperAscii(c)) == code39::NO_ROW; });
    if (bad != label.end()) {
        return NoValue(label, static_cast<std::size_t>(bad - label.begin()), "Code 39",
                       "0-9, A-Z, a-z, space, - . $ / + % *");
    }
    return kTooLong + std::string("Code 39 holds at most ") + Number(code39::MAX_TEXT) +
           " characters.";
}

std::string Code93Reason(const std::string& label) {
    const auto bad = std::ranges::find_if(label, [](char c) {
        return static_cast<unsigned char>(c) >= code93::Code93FullAscii.size();
    });
    if (bad != label.end()) {
        return NoValue(label, static_cast<std::size_t>(bad - label.begin()), "Code 93",
                       "ASCII 1-127");
    }
    return kTooLong + std::string("its symbol would take more than ") +
           Number(CBarcodeBase::CAPACITY) + " elements.";
}

constexpr const char* SubsetName(int subset) {
    return subset == code128::SUBSET_A   ? "Code 128 subset A"
           : subset == code128::SUBSET_B ? "Code 128 subset B"
                                         : "Code 128 subset C";
}

constexpr const char* SubsetTakes(int subset) {
    return subset == code128::SUBSET_A   ? "ASCII 0-95, code bytes 195-206"
           : subset == code128::SUBSET_B ? "ASCII 32-126, code bytes 195-206"
                                         : "pairs 00-99, code bytes 200-202";
}

// The text walked as the encoder walks it, to the first symbol with no value.
std::string Code128Reason(const std::string& label, int subset) {
    for (code128::SymbolReader reader(label.c_str(), subset); !reader.AtEnd();) {
        const std::size_t at = static_cast<std::size_t>(reader.Position() - label.c_str());
        const int current = reader.Subset();
        const int value = reader.Next();
        if (value < 0 && current != code128::SUBSET_C) {
            return NoValue(label, at, SubsetName(current), SubsetTakes(current));
        }
        if (value < 0) {
            return "Characters " + Number(at + 1) + "-" + Number(at + 2) + ", \"" +
                   label.substr(at, 2) + "\", read as " + std::to_string(value) + ", is not in " +
                   SubsetName(current) + " (" + SubsetTakes(current) + ").";
        }
    }
    return kTooLong + std::string("its symbol would take more than ") +
           Number(CBarcodeBase::CAPACITY) + " elements.";
}

std::string DigitsReason(const std::string& label, std::size_t read, const char* where,
                         const char* takes) {
    const std::size_t end = std::min(read, label.size());
    const std::size_t bad = label.find_first_not_of("0123456789");
    return bad < end ? NoValue(label, bad, where, takes) : std::string();
}

std::string I2of5Reason(const std::string& label) {
    const char* name = "Interleaved 2 of 5";
    if (std::string r = DigitsReason(label, label.size(), name, "digits 0-9"); !r.empty()) {
        return r;
    }
    if (label.size() % 2 != 0) {
        return std::string(name) + " takes an even number of digits; the text has " +
               Number(label.size()) + ".";
    }
    return kTooLong + std::string(name) + " holds at most " + Number(i2of5::MAX_DIGITS) +
           " digits.";
}

// Why symbology refuses label, as one sentence.
std::string RefusalReason(const std::string& label, Symbology symbology) {
    if (const std::size_t nul = label.find('\0'); nul != std::string::npos) {
        return "Character " + Number(nul + 1) + " is a NUL byte, which would end the text.";
    }
    switch (symbology) {
    case Symbology::Code39:
        return Code39Reason(label);
    case Symbology::Code93:
        return Code93Reason(label);
    case Symbology::Code128A:
    case Symbology::Code128B:
    case Symbology::Code128C:
        return Code128Reason(label,
                             static_cast<int>(symbology) - static_cast<int>(Symbology::Code128A));
    case Symbology::Ean13:
        return DigitsReason(label, ean13::DATA_DIGITS, "EAN-13", "digits 0-9");
    case Symbology::I2of5:
        return I2of5Reason(label);
    }
    return "There is no such symbology.";
}

bool LabelMatches(std::string_view label, std::string_view read, Symbology symbology) {
    return read == label || (symbology == Symbology::Ean13 && label.size() == ean13::DATA_DIGITS &&
                             read.substr(0, ean13::DATA_DIGITS) == label);
}

} // namespace

CBarcodeBase& CRowChecker::EncoderFor(Symbology symbology) {
    switch (symbology) {
    case Symbology::Code39:
        return m_code39;
    case Symbology::Code93:
        return m_code93;
    case Symbology::Code128A:
    case Symbology::Code128B:
    case Symbology::Code128C:
        return m_code128;
    case Symbology::Ean13:
        return m_ean13;
    default:
        return m_i2of5;
    }
}

bool CRowChecker::Encode(Symbology symbology) {
    EncoderFor(symbology).Clear();
    if (m_label.find('\0') != std::string::npos) {
        return false;
    }
    const char* text = m_label.c_str();
    switch (symbology) {
    case Symbology::Code39:
        return m_code39.Encode(text);
    case Symbology::Code93:
        return m_code93.Encode(text);
    case Symbology::Code128A:
    case Symbology::Code128B:
    case Symbology::Code128C:
        return m_code128.Encode(text, static_cast<int>(symbology) -
                                          static_cast<int>(Symbology::Code128A));
    case Symbology::Ean13:
        return m_ean13.Encode(text);
    case Symbology::I2of5:
        return m_i2of5.Encode(text);
    }
    return false;
}

RowCheck CRowChecker::Check(std::string_view label, Symbology symbology) {
    m_label.assign(label);
    return Compare(label, symbology, Encode(symbology) ? &EncoderFor(symbology) : nullptr);
}

RowCheck CRowChecker::Compare(std::string_view label, Symbology symbology,
                              const CBarcodeBase* encoded) {
    if (label.empty()) {
        return {RowVerdict::Empty, "The text is empty.", {}};
    }
    if (encoded == nullptr) {
        m_label.assign(label);
        return {RowVerdict::Refused, RefusalReason(m_label, symbology), {}};
    }
    const CBarcodeBase& row = *encoded;
    ReadRow(row, symbology, m_reading);
    if (!m_reading.OneSymbol()) {
        return {RowVerdict::NotOneSymbol,
                "Reading stops at element " + Number(static_cast<std::size_t>(m_reading.stop)) +
                    " of " + Number(static_cast<std::size_t>(row.length)) + ": " + m_reading.why +
                    ".",
                m_reading.text};
    }
    if (LabelMatches(label, m_reading.text, symbology)) {
        return {};
    }
    return {RowVerdict::ReadsDifferently, {}, m_reading.text};
}
