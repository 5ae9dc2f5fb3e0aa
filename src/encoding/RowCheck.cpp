#include "RowCheck.h"

#include "RefusalReason.h"

#include <cstddef>
#include <string>

namespace {

std::string Number(std::size_t n) {
    return std::to_string(n);
}

bool LabelMatches(std::string_view label, std::string_view read, Symbology symbology) {
    const SymbologyInfo* info = FindSymbology(symbology);
    const std::size_t digits = info != nullptr ? info->checkDigitAfter : 0;
    return read == label ||
           (digits != 0 && label.size() == digits && read.substr(0, digits) == label);
}

} // namespace

const CBarcodeBase& CRowChecker::Row(Symbology symbology) const {
    const CBarcodeBase* row = m_encoders.For(static_cast<int>(symbology));
    return row != nullptr ? *row : m_encoders.i2of5;
}

RowCheck CRowChecker::Check(std::string_view label, Symbology symbology) {
    const int type = static_cast<int>(symbology);
    return Compare(label, symbology,
                   m_encoders.EncodeQuietly(type, label) ? m_encoders.For(type) : nullptr);
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
