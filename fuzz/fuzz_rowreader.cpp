// The row reader and the row check: the first input byte picks the symbology (and, with
// its top bit, raw elements). Raw elements are read safely, whatever they hold; a text is
// encoded, read back and compared, and what the encoder accepts reads as it must.

#include "FuzzCheck.h"
#include "RowCheck.h"

#include <algorithm>
#include <cstring>

namespace {

void ReadRawRow(Symbology symbology, const std::uint8_t* data, std::size_t size) {
    static CBarcodeBase row;
    static RowReading reading;
    row.Clear();
    row.length = static_cast<std::int32_t>(std::min<std::size_t>(size, CBarcodeBase::CAPACITY));
    std::memcpy(row.elements, data, static_cast<std::size_t>(row.length));
    ReadRow(row, symbology, reading);
    Require(reading.OneSymbol() ? *reading.why == '\0' : reading.stop <= row.length);
}

void CheckText(Symbology symbology, const std::string& text) {
    static CRowChecker checker;
    const RowCheck check = checker.Check(text, symbology);
    if (IsRefusal(check.verdict)) {
        Require(!check.reason.empty());
        return;
    }
    const bool star = text.find('*') != std::string::npos;
    switch (symbology) {
    case Symbology::Code93:
    case Symbology::I2of5:
        Require(check.verdict == RowVerdict::Matches);
        break;
    case Symbology::Code39:
        Require((check.verdict == RowVerdict::NotOneSymbol) == star);
        break;
    case Symbology::Ean13:
        Require(check.verdict != RowVerdict::NotOneSymbol);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto symbology = static_cast<Symbology>((data[0] & 0x7F) % 7);
    if (data[0] & 0x80) {
        ReadRawRow(symbology, data + 1, size - 1);
    } else {
        CheckText(symbology, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    }
    return 0;
}
