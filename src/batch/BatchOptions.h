#pragma once

#include <optional>
#include <string>
#include <vector>

// Command line of tavik-batch.
struct BatchOptions {
    enum class Mode { None, Dump, Help, Version };

    Mode mode = Mode::None;
    int type = 0;                     // BarcodeType 0..6
    std::optional<std::string> text;  // TEXT argument, UTF-8 as given
    std::optional<std::string> input; // -i FILE ("-" = standard input)
};

struct BatchParse {
    BatchOptions options;
    std::string error; // empty when the command line is valid
};

BatchParse ParseBatchArgs(const std::vector<std::string>& args);

// A BarcodeType number "0".."6" or a symbology name; -1 when unknown.
int ParseBarcodeType(const std::string& value);

std::string BatchUsage();
