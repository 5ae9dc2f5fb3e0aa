// Rows checked per second: CRowChecker::Check (clear, encode, read the bars back, compare
// with the label) over a 1,000,000-line list, one list per symbology.

#include "RowCheck.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLines = 1'000'000;

// Line i of a list of typical labels; lowercase Code 39 labels all read differently.
std::string Label(Symbology s, std::size_t i, bool lowercase) {
    const std::string n = std::to_string(1'000'000'000'000 + i); // 13 digits
    switch (s) {
    case Symbology::Code39:
        return (lowercase ? "item-" : "ITEM-") + n.substr(7);
    case Symbology::Code93:
    case Symbology::Code128B:
        return "Item " + n.substr(7) + "/b";
    case Symbology::Code128A:
        return "ITEM " + n.substr(7);
    case Symbology::Code128C:
    case Symbology::I2of5:
        return n.substr(1);
    case Symbology::Ean13:
        return n.substr(1, 12);
    }
    return {};
}

void BM_Check(benchmark::State& state, Symbology s, bool lowercase) {
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (std::size_t i = 0; i < kLines; ++i) {
        lines.push_back(Label(s, i, lowercase));
    }
    const auto checker = std::make_unique<CRowChecker>();
    for (auto _ : state) {
        std::size_t matches = 0;
        for (const std::string& line : lines) {
            matches += checker->Check(line, s).verdict == RowVerdict::Matches ? 1 : 0;
        }
        if (matches != (lowercase ? 0 : kLines)) {
            state.SkipWithError("unexpected verdicts");
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
}

} // namespace

BENCHMARK_CAPTURE(BM_Check, Code39, Symbology::Code39, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Code39Differs, Symbology::Code39, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Code93, Symbology::Code93, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Code128A, Symbology::Code128A, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Code128B, Symbology::Code128B, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Code128C, Symbology::Code128C, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Ean13, Symbology::Ean13, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, I2of5, Symbology::I2of5, false)->Unit(benchmark::kMillisecond);
