// tavik-batch: the headless command-line tool.
#include "BatchCommon.h"
#include "BatchOptions.h"
#include "Dump.h"
#include "LabelSheets.h"
#include "Render.h"

#include <iostream>
#include <malloc.h>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Page streams are compressed one by one with a large scratch buffer; keep
    // freed heap memory instead of returning and re-faulting it for every page.
    // Setting these turns off glibc's adaptive mmap threshold, so large
    // buffers must be kept off mmap explicitly too.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    const BatchParse parsed = ParseBatchArgs(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        return Usage(parsed.error);
    }
    switch (parsed.options.mode) {
    case BatchOptions::Mode::Help:
        std::cout << BatchUsage();
        return FinishOutput(0);
    case BatchOptions::Mode::Version:
        std::cout << "tavik-batch " TAVIK_VERSION "\n";
        return FinishOutput(0);
    case BatchOptions::Mode::ListLabels:
        for (const LabelSheet& sheet : Labels::BuiltInSheets()) {
            std::cout << Labels::DescribeSheet(sheet) << "\n";
        }
        return FinishOutput(0);
    case BatchOptions::Mode::Render:
    case BatchOptions::Mode::Print:
        return Render(parsed.options);
    default:
        return Dump(parsed.options);
    }
}
