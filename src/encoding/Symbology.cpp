#include "Symbology.h"

#include "Code128Tables.h"
#include "Ean13Tables.h"
#include "EncoderSet.h"
#include "RefusalReason.h"
#include "RowReader.h"

#include <array>
#include <string_view>

namespace {

using code128::SUBSET_A;
using code128::SUBSET_B;
using code128::SUBSET_C;

template <int Subset> bool Encode128(EncoderSet& set, const char* text) {
    return set.code128.Encode(text, Subset);
}

template <int Subset> std::string Refuse128(const std::string& label) {
    return Code128Refusal(label, Subset);
}

constexpr std::array<SymbologyInfo, kSymbologyCount> kTable = {{
    {Symbology::Code39, "Barcode39", "code39", "Barcode_39", "Code 39",
     "0-9, A-Z, a-z, space, - . $ / + % *", -1, 0, false,
     [](EncoderSet& set) -> CBarcodeBase& { return set.code39; },
     [](EncoderSet& set, const char* text) { return set.code39.Encode(text); }, ReadCode39Row,
     Code39Refusal, &standards::kCode39},
    {Symbology::Code93, "Barcode93", "code93", "Barcode_93", "Code 93", "ASCII 1-127", -1, 0, false,
     [](EncoderSet& set) -> CBarcodeBase& { return set.code93; },
     [](EncoderSet& set, const char* text) { return set.code93.Encode(text); }, ReadCode93Row,
     Code93Refusal, &standards::kCode93},
    {Symbology::Code128A, "Barcode128A", "code128a", "Barcode_128A", "Code 128 subset A",
     "ASCII 0-95, code bytes 195-206", SUBSET_A, 0, false,
     [](EncoderSet& set) -> CBarcodeBase& { return set.code128; }, Encode128<SUBSET_A>,
     ReadCode128Row, Refuse128<SUBSET_A>, &standards::kCode128},
    {Symbology::Code128B, "Barcode128B", "code128b", "Barcode_128B", "Code 128 subset B",
     "ASCII 32-126, code bytes 195-206", SUBSET_B, 0, false,
     [](EncoderSet& set) -> CBarcodeBase& { return set.code128; }, Encode128<SUBSET_B>,
     ReadCode128Row, Refuse128<SUBSET_B>, &standards::kCode128},
    {Symbology::Code128C, "Barcode128C", "code128c", "Barcode_128C", "Code 128 subset C",
     "pairs 00-99, code bytes 200-202", SUBSET_C, 0, false,
     [](EncoderSet& set) -> CBarcodeBase& { return set.code128; }, Encode128<SUBSET_C>,
     ReadCode128Row, Refuse128<SUBSET_C>, &standards::kCode128},
    {Symbology::Ean13, "BarcodeEan13", "ean13", "Barcode_Ean13", "EAN-13", "digits 0-9", -1,
     ean13::DATA_DIGITS, true, [](EncoderSet& set) -> CBarcodeBase& { return set.ean13; },
     [](EncoderSet& set, const char* text) { return set.ean13.Encode(text); }, ReadEan13Row,
     Ean13Refusal, &standards::kEan13Retail},
    {Symbology::I2of5, "BarcodeI2of5", "i2of5", "Barcode_I2of5", "Interleaved 2 of 5", "digits 0-9",
     -1, 0, false, [](EncoderSet& set) -> CBarcodeBase& { return set.i2of5; },
     [](EncoderSet& set, const char* text) { return set.i2of5.Encode(text); }, ReadI2of5Row,
     I2of5Refusal, &standards::kI2of5},
}};

// Each entry sits at its own index, and the subsets follow one another from A.
constexpr bool InOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (static_cast<std::size_t>(kTable[i].symbology) != i) {
            return false;
        }
    }
    const int a = static_cast<int>(Symbology::Code128A);
    for (const SymbologyInfo& info : kTable) {
        if (!standards::Sound(*info.standard)) {
            return false;
        }
    }
    return kTable[a].subset == SUBSET_A && kTable[a + 1].subset == SUBSET_B &&
           kTable[a + 2].subset == SUBSET_C;
}
static_assert(InOrder());

// No two symbologies share a name a user types or reads.
constexpr bool NamesDistinct() {
    for (const SymbologyInfo& a : kTable) {
        for (const SymbologyInfo& b : kTable) {
            if (&a != &b && (std::string_view(a.listName) == b.listName ||
                             std::string_view(a.optionName) == b.optionName ||
                             std::string_view(a.messageName) == b.messageName ||
                             std::string_view(a.checkName) == b.checkName)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(NamesDistinct());

} // namespace

std::span<const SymbologyInfo, kSymbologyCount> Symbologies() {
    return kTable;
}

const SymbologyInfo* FindSymbology(int index) {
    return index >= 0 && index < kSymbologyCount ? &kTable[static_cast<std::size_t>(index)]
                                                 : nullptr;
}

void EncoderSet::Reset() {
    for (CBarcodeBase* e :
         {static_cast<CBarcodeBase*>(&code39), static_cast<CBarcodeBase*>(&code93),
          static_cast<CBarcodeBase*>(&code128), static_cast<CBarcodeBase*>(&ean13),
          static_cast<CBarcodeBase*>(&i2of5)}) {
        e->Clear();
        e->wideRatio = 3;
    }
}

CBarcodeBase* EncoderSet::For(int type) {
    const SymbologyInfo* info = FindSymbology(type);
    return info != nullptr ? &info->encoder(*this) : nullptr;
}

const CBarcodeBase* EncoderSet::For(int type) const {
    return const_cast<EncoderSet*>(this)->For(type);
}

bool EncoderSet::Encode(int type, std::string_view text) {
    const SymbologyInfo* info = FindSymbology(type);
    if (info == nullptr) {
        return false;
    }
    info->encoder(*this).Clear();
    if (text.find('\0') != std::string_view::npos) {
        return false;
    }
    m_scratch.assign(text);
    return info->encode(*this, m_scratch.c_str());
}

bool EncoderSet::EncodeQuietly(int type, std::string_view text) noexcept {
    try {
        return Encode(type, text);
    } catch (...) {
        return false;
    }
}
