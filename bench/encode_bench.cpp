// Nanoseconds per symbol: our encoders (clear + Encode) against libzint
// (ZBarcode_Clear + ZBarcode_Encode, no rendering) on the same texts.
// Pairs share the case name: BM_Tavik/Code39 and BM_Zint/Code39.

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

enum class Symbology { Code39, Code93, Code128B, Ean13, I2of5 };

struct Sample {
    const char* text;
    int zintSymbology;
};

constexpr Sample SampleOf(Symbology s) {
    switch (s) {
    case Symbology::Code39:
        return {"0123456789", BARCODE_CODE39};
    case Symbology::Code93:
        return {"HELLO WORLD", BARCODE_CODE93};
    case Symbology::Code128B:
        return {"Hello World 12345", BARCODE_CODE128B};
    case Symbology::Ean13:
        return {"590123412345", BARCODE_EANX};
    case Symbology::I2of5:
        return {"12345678901234", BARCODE_C25INTER};
    }
    return {"", 0};
}

template <typename Encoder, typename Encode>
void TimeTavik(benchmark::State& state, Encoder& encoder, Encode encode) {
    encoder.Clear();
    if (!encode(encoder)) {
        state.SkipWithError("text refused");
        return;
    }
    for (auto _ : state) {
        encoder.Clear();
        benchmark::DoNotOptimize(encode(encoder));
        benchmark::DoNotOptimize(encoder.elements);
        benchmark::ClobberMemory();
    }
    state.counters["elements"] = encoder.length;
}

void BM_Tavik(benchmark::State& state, Symbology s) {
    const char* text = SampleOf(s).text;
    switch (s) {
    case Symbology::Code39: {
        CBarcode39 b;
        return TimeTavik(state, b, [text](CBarcode39& e) { return e.Encode(text); });
    }
    case Symbology::Code93: {
        CBarcode93 b;
        return TimeTavik(state, b, [text](CBarcode93& e) { return e.Encode(text); });
    }
    case Symbology::Code128B: {
        CBarcode128 b;
        return TimeTavik(state, b, [text](CBarcode128& e) { return e.Encode(text, 1); });
    }
    case Symbology::Ean13: {
        CBarcodeEan13 b;
        return TimeTavik(state, b, [text](CBarcodeEan13& e) { return e.Encode(text); });
    }
    case Symbology::I2of5: {
        CBarcodeI2of5 b;
        return TimeTavik(state, b, [text](CBarcodeI2of5& e) { return e.Encode(text); });
    }
    }
}

using ZintSymbol = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

ZintSymbol MakeZintSymbol(int symbology) {
    ZintSymbol symbol(ZBarcode_Create(), &ZBarcode_Delete);
    symbol->symbology = symbology;
    return symbol;
}

// One reused symbol; ZBarcode_Clear keeps the symbology and options.
void BM_Zint(benchmark::State& state, Symbology s) {
    const Sample sample = SampleOf(s);
    const auto* data = reinterpret_cast<const unsigned char*>(sample.text);
    const int length = static_cast<int>(std::strlen(sample.text));
    const ZintSymbol symbol = MakeZintSymbol(sample.zintSymbology);
    if (ZBarcode_Encode(symbol.get(), data, length) >= ZINT_ERROR) {
        state.SkipWithError(symbol->errtxt);
        return;
    }
    for (auto _ : state) {
        ZBarcode_Clear(symbol.get());
        benchmark::DoNotOptimize(ZBarcode_Encode(symbol.get(), data, length));
        benchmark::ClobberMemory();
    }
    state.counters["modules"] = symbol->width;
}

// The clearing parts alone, to tell them apart from the encoding.
void BM_TavikClearOnly(benchmark::State& state) {
    CBarcode39 b;
    for (auto _ : state) {
        b.Clear();
        benchmark::DoNotOptimize(b.elements);
        benchmark::ClobberMemory();
    }
}

void BM_ZintClearOnly(benchmark::State& state) {
    const ZintSymbol symbol = MakeZintSymbol(BARCODE_CODE39);
    for (auto _ : state) {
        ZBarcode_Clear(symbol.get());
        benchmark::ClobberMemory();
    }
}

// On a shared machine the fastest repetition is the least disturbed one.
double Fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

} // namespace

BENCHMARK_CAPTURE(BM_Tavik, Code39, Symbology::Code39)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Zint, Code39, Symbology::Code39)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Tavik, Code93, Symbology::Code93)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Zint, Code93, Symbology::Code93)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Tavik, Code128B, Symbology::Code128B)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Zint, Code128B, Symbology::Code128B)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Tavik, Ean13, Symbology::Ean13)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Zint, Ean13, Symbology::Ean13)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Tavik, I2of5, Symbology::I2of5)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(BM_Zint, I2of5, Symbology::I2of5)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_TavikClearOnly)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_ZintClearOnly)->ComputeStatistics("min", Fastest);
