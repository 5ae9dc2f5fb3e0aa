#include "PrinterResolution.h"

#include "CupsDest.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Where Qt's print engine keeps the options its print dialog collected.
constexpr auto kCupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// "300dpi" or "300x600dpi" as a queue option gives the horizontal figure.
int FromOption(const char* value) {
    if (value == nullptr) {
        return 0;
    }
    char* end = nullptr;
    const long dpi = std::strtol(value, &end, 10);
    return end != value && dpi > 0 && dpi <= 100000 ? static_cast<int>(dpi) : 0;
}

int DotsPerInch(ipp_attribute_t* attr, int index) {
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int xres = ippGetResolution(attr, index, &yres, &units);
    return units == IPP_RES_PER_CM ? (xres * 254 + 50) / 100 : xres;
}

// The queue's resolutions, as it lists them; empty when it lists none.
std::vector<int> Supported(const CupsDest& dest) {
    std::vector<int> dpis;
    ipp_attribute_t* attr = dest.Supported("printer-resolution");
    if (attr != nullptr && ippGetValueTag(attr) == IPP_TAG_RESOLUTION) {
        for (int i = 0; i < ippGetCount(attr); ++i) {
            dpis.push_back(DotsPerInch(attr, i));
        }
    }
    return dpis;
}

// The queue's default "printer-resolution", in dots per inch.
int FromDefault(const CupsDest& dest) {
    ipp_attribute_t* attr = dest.Default("printer-resolution");
    return attr != nullptr && ippGetValueTag(attr) == IPP_TAG_RESOLUTION ? DotsPerInch(attr, 0) : 0;
}

QByteArray DialogValue(const QStringList& options, const QString& name) {
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == name) {
            return options[i + 1].toUtf8();
        }
    }
    return {};
}

} // namespace

QueueResolutionChoice ChooseQueueResolution(const QString& printerName,
                                            const QStringList& dialogOptions) {
    const CupsDest dest(printerName);
    if (!dest) {
        return {};
    }
    const std::vector<int> supported = Supported(dest);
    const auto carried = [&](int dpi) {
        return dpi > 0 && (supported.empty() ||
                           std::find(supported.begin(), supported.end(), dpi) != supported.end());
    };
    const QByteArray candidates[] = {DialogValue(dialogOptions, QStringLiteral("Resolution")),
                                     dest.Option("Resolution"), dest.Option("printer-resolution")};
    for (const QByteArray& value : candidates) {
        if (const int dpi = FromOption(value.constData()); carried(dpi)) {
            return {dpi, value};
        }
    }
    const int dpi = FromDefault(dest);
    return dpi > 0 ? QueueResolutionChoice{dpi, QByteArray::number(dpi) + "dpi"}
                   : QueueResolutionChoice{};
}

int QueueResolution(const QString& printerName) {
    return ChooseQueueResolution(printerName, {}).dpi;
}

QStringList DialogCupsOptions(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printEngine() == nullptr) {
        return {};
    }
    return printer.printEngine()->property(kCupsOptionsKey).toStringList();
}

int PrintedResolution(const QPrinter& printer, int fallback) {
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        return printer.resolution();
    }
    const int dpi = ChooseQueueResolution(printer.printerName(), DialogCupsOptions(printer)).dpi;
    return dpi > 0 ? dpi : fallback;
}

void UseQueueResolution(QPrinter& printer, int fallback) {
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        printer.setResolution(PrintedResolution(printer, fallback));
    }
}
