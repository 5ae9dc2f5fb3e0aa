#pragma once

#include "DrawSurface.h"
#include "DrawingLimits.h"
#include "LabelSheet.h"
#include "Sequence.h"
#include "SettingsBounds.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A font given as FACE:HEIGHT; face in Latin-1, height as lfHeight.
struct FontChoice {
    std::string face;
    std::int32_t height = 0;
};

// A length as given: a value and its unit.
struct Length {
    enum class Unit { Millimetre, Inch, Point };
    double value = 0;
    Unit unit = Unit::Millimetre;
};

// --page-size: a named size, or width x height as given (a page that wide and long, upright).
struct PageChoice {
    enum class Named { A4, Letter, Custom };
    Named named = Named::A4;
    double width = 0, height = 0; // Custom, in unit
    Length::Unit unit = Length::Unit::Millimetre;
};

// Command line of tavik-batch. Settings left unset keep the view's initial values.
struct BatchOptions {
    enum class Mode { None, Dump, Render, Print, Help, Version, ListLabels };

    Mode mode = Mode::None;
    int type = 0;                      // BarcodeType 0..6
    bool check = false;                // --check: a report on the rows instead of output
    bool checkOnPage = false;          // --check of printed pages (a page option was given)
    bool strict = false;               // --strict: rows whose bars read differently are refused
    std::optional<std::string> text;   // TEXT argument, UTF-8 as given
    std::optional<std::string> input;  // -i FILE ("-" = standard input)
    std::optional<std::string> output; // -o OUT, ending in .png, .svg or .pdf
    int scale = 1;
    PageChoice page;                          // --page-size
    std::optional<Length> margins;            // --margins (else the printer's own)
    std::optional<std::int32_t> printerDpi;   // --printer-dpi: the dot grid of a PDF
    std::optional<std::int32_t> barReduction; // --bar-reduction: dots off every bar
    std::optional<std::string> printer;       // --printer NAME (else the default printer)

    std::optional<std::int32_t> lineWidth;
    std::optional<std::int32_t> barHeight;
    std::optional<double> lineWidthMm; // --line-width as a length (an X-dimension)
    std::optional<double> barHeightMm; // --bar-height as a length
    std::optional<std::int32_t> originX;
    std::optional<std::int32_t> originY;
    std::optional<std::int32_t> repeat;
    bool noText = false;
    bool trueType = false;
    std::optional<COLORREF> barColor;
    std::optional<COLORREF> spaceColor;
    std::optional<COLORREF> textColor;
    std::optional<COLORREF> barcodeFontColor;
    std::optional<FontChoice> textFont;
    std::optional<FontChoice> barcodeFont;

    // --labels and the options of a custom grid: the sheet, settled once every option is read.
    LabelChoice labels;
    bool customLabels = false;                            // --labels COLSxROWS
    std::optional<std::pair<double, double>> labelSize;   // mm
    std::optional<std::pair<double, double>> labelPitch;  // mm
    std::optional<std::pair<double, double>> labelOffset; // mm
    std::optional<NumberSequence> sequence;               // --sequence (with --format)
    std::optional<std::string> format;                    // --format PATTERN
};

struct BatchParse {
    BatchOptions options;
    std::string error; // empty when the command line is valid
};

BatchParse ParseBatchArgs(const std::vector<std::string>& args);

// A BarcodeType number "0".."6" or a symbology name; -1 when unknown.
int ParseBarcodeType(const std::string& value);

// Limits of the numeric options (also shown by --help).
struct BatchLimits {
    static constexpr int kMinLineWidth = kLineWidthBound.lowest;
    static constexpr int kMaxLineWidth = kLineWidthBound.highest;
    static constexpr int kMinBarHeight = kBarHeightBound.lowest;
    static constexpr int kMaxBarHeight = kBarHeightBound.highest;
    static constexpr int kMinOrigin = kOriginXBound.lowest, kMaxOrigin = kOriginXBound.highest;
    static constexpr int kMinRepeat = kRepeatBound.lowest, kMaxRepeat = kRepeatBound.highest;
    static constexpr int kMinScale = 1, kMaxScale = 16;
    static constexpr int kMinPrinterDpi = 72, kMaxPrinterDpi = 4800, kDefaultPrinterDpi = 600;
    static constexpr int kMinBarReduction = 0, kMaxBarReduction = 100;
    static constexpr double kMinPageMm = 10, kMaxPageMm = 2000; // a side of --page-size
    static constexpr double kMaxMarginMm = 100;
    static constexpr int kMinFontHeight = -1000, kMaxFontHeight = -1;
    static constexpr int kMaxCopies = LabelChoice::kMaxCopies;
    static constexpr int kMaxFaceBytes = 31;
    static constexpr int kMaxSide = DrawingLimits::kMaxSide;          // units a side, after scaling
    static constexpr std::int64_t kMaxArea = DrawingLimits::kMaxArea; // square units, scaled
};

std::string BatchUsage();
