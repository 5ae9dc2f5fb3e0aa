#include "RefusalReason.h"

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

const SymbologyInfo& Of(Symbology symbology) {
    return *FindSymbology(symbology);
}

// The symbology of a Code 128 subset, as the table has it.
const SymbologyInfo& Subset(int subset) {
    return *FindSymbology(static_cast<int>(Symbology::Code128A) + subset);
}

const char* SubsetName(int subset) {
    return Subset(subset).checkName;
}

const char* SubsetTakes(int subset) {
    return Subset(subset).takes;
}

std::string DigitsReason(const std::string& label, std::size_t read, const char* where,
                         const char* takes) {
    const std::size_t end = std::min(read, label.size());
    const std::size_t bad = label.find_first_not_of("0123456789");
    return bad < end ? NoValue(label, bad, where, takes) : std::string();
}

} // namespace

std::string Code39Refusal(const std::string& label) {
    const SymbologyInfo& s = Of(Symbology::Code39);
    const auto bad = std::ranges::find_if(
        label, [](char c) { return code39::RowOf(code39::ToUpperAscii(c)) == code39::NO_ROW; });
    if (bad != label.end()) {
        return NoValue(label, static_cast<std::size_t>(bad - label.begin()), s.checkName, s.takes);
    }
    return kTooLong + std::string(s.checkName) + " holds at most " + Number(code39::MAX_TEXT) +
           " characters.";
}

std::string Code93Refusal(const std::string& label) {
    const SymbologyInfo& s = Of(Symbology::Code93);
    const auto bad = std::ranges::find_if(label, [](char c) {
        return static_cast<unsigned char>(c) >= code93::Code93FullAscii.size();
    });
    if (bad != label.end()) {
        return NoValue(label, static_cast<std::size_t>(bad - label.begin()), s.checkName, s.takes);
    }
    return kTooLong + std::string("its symbol would take more than ") +
           Number(CBarcodeBase::CAPACITY) + " elements.";
}

// The text walked as the encoder walks it, to the first symbol with no value.
std::string Code128Refusal(const std::string& label, int subset) {
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

std::string Ean13Refusal(const std::string& label) {
    const SymbologyInfo& s = Of(Symbology::Ean13);
    return DigitsReason(label, ean13::DATA_DIGITS, s.checkName, s.takes);
}

std::string I2of5Refusal(const std::string& label) {
    const SymbologyInfo& s = Of(Symbology::I2of5);
    const char* name = s.checkName;
    if (std::string r = DigitsReason(label, label.size(), name, s.takes); !r.empty()) {
        return r;
    }
    if (label.size() % 2 != 0) {
        return std::string(name) + " takes an even number of digits; the text has " +
               Number(label.size()) + ".";
    }
    return kTooLong + std::string(name) + " holds at most " + Number(i2of5::MAX_DIGITS) +
           " digits.";
}

std::string RefusalReason(const std::string& label, Symbology symbology) {
    if (const std::size_t nul = label.find('\0'); nul != std::string::npos) {
        return "Character " + Number(nul + 1) + " is a NUL byte, which would end the text.";
    }
    const SymbologyInfo* info = FindSymbology(symbology);
    return info != nullptr ? info->refusal(label) : "There is no such symbology.";
}
