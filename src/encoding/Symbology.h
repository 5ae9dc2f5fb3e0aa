#pragma once

#include "PrintStandard.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CBarcodeBase;
class EncoderSet;
struct RowReading;

// The symbologies, numbered as the Settings dialog's list numbers them.
enum class Symbology : std::int32_t { Code39, Code93, Code128A, Code128B, Code128C, Ean13, I2of5 };

// Everything that differs between the symbologies; the only place that tells them apart.
struct SymbologyInfo {
    Symbology symbology;
    const char* listName;    // the Settings dialog's list entry
    const char* optionName;  // tavik-batch -t
    const char* messageName; // in "Can not encode text ... to NAME."
    const char* checkName;   // in a refusal reason: "is not in NAME (TAKES)"
    const char* takes;       // what its texts may hold, for the same reason
    int subset;              // the Code 128 subset; -1 for the others
    // The labels' digits without the check digit the encoder adds (a label of that
    // length reads back with it); 0 when none is added.
    std::size_t checkDigitAfter;
    bool guardBars; // drawn with long guard bars
    // The encoder of the set that serves it; its Encode for a NUL-terminated text.
    CBarcodeBase& (*encoder)(EncoderSet& set);
    bool (*encode)(EncoderSet& set, const char* text);
    // Reads an element row of its encoder back (out is reset first by the caller).
    void (*read)(const CBarcodeBase& row, RowReading& out);
    // Why it refuses a label that holds no NUL byte, as one sentence.
    std::string (*refusal)(const std::string& label);
    // What its standard asks of a printed symbol.
    const PrintStandard* standard;
};

inline constexpr int kSymbologyCount = 7;

// Every symbology, in the list's order.
std::span<const SymbologyInfo, kSymbologyCount> Symbologies();
// The symbology at index (a BarcodeType), or null outside 0 to 6.
const SymbologyInfo* FindSymbology(int index);
inline const SymbologyInfo* FindSymbology(Symbology symbology) {
    return FindSymbology(static_cast<int>(symbology));
}
// Whether the symbology at index is drawn with long guard bars.
inline bool HasGuardBars(int index) {
    const SymbologyInfo* symbology = FindSymbology(index);
    return symbology != nullptr && symbology->guardBars;
}
