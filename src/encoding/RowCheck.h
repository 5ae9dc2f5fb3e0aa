#pragma once

#include "EncoderSet.h"
#include "RowReader.h"

#include <string>
#include <string_view>

// Empty: the label is empty, so its row draws nothing (the encoders take an empty text).
enum class RowVerdict { Matches, Refused, ReadsDifferently, NotOneSymbol, Empty };

// A row with no bars drawn: refused, or empty.
constexpr bool IsRefusal(RowVerdict verdict) {
    return verdict == RowVerdict::Refused || verdict == RowVerdict::Empty;
}

// How one row's bars compare with its label.
struct RowCheck {
    RowVerdict verdict = RowVerdict::Matches;
    // Refused or Empty: why, as one ASCII sentence (the first byte with no value, its place and
    // what the symbology takes; or too long for the element buffer). NotOneSymbol: the element
    // where reading stops, and why.
    std::string reason;
    // ReadsDifferently: what the bars read. NotOneSymbol: what they read before the stop.
    std::string readsAs;
};

// Encodes labels as the view does (with an encoder set of its own), reads each row's bars back and
// compares them with the label. An EAN-13 label of 12 digits matches its 13 digits with the check
// digit; an empty label is a problem row of its own. A checker is for one thread at a time; make
// one per worker.
class CRowChecker {
public:
    RowCheck Check(std::string_view label, Symbology symbology);
    // The same for a row encoded elsewhere from label: row is its elements, or null when
    // the encoder refused label.
    RowCheck Compare(std::string_view label, Symbology symbology, const CBarcodeBase* row);
    // The element row of the last Check for symbology (length 0 when it was refused).
    const CBarcodeBase& Row(Symbology symbology) const;

private:
    EncoderSet m_encoders;
    std::string m_label; // the label of a refusal, for its reason
    RowReading m_reading;
};
