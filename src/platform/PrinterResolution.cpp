#include "PrinterResolution.h"

#include <QPrinter>
#include <QString>

#include <cups/cups.h>

#include <cstdlib>
#include <memory>

namespace {

// "300dpi" or "300x600dpi" as a queue option gives the horizontal figure.
int FromOption(const char* value) {
    if (value == nullptr) {
        return 0;
    }
    char* end = nullptr;
    const long dpi = std::strtol(value, &end, 10);
    return end != value && dpi > 0 && dpi <= 100000 ? static_cast<int>(dpi) : 0;
}

// The queue's default "printer-resolution", in dots per inch.
int FromDefault(cups_dest_t* dest) {
    const std::unique_ptr<cups_dinfo_t, decltype(&cupsFreeDestInfo)> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest), cupsFreeDestInfo);
    if (!info) {
        return 0;
    }
    ipp_attribute_t* attr =
        cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info.get(), "printer-resolution");
    if (attr == nullptr || ippGetValueTag(attr) != IPP_TAG_RESOLUTION) {
        return 0;
    }
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int xres = ippGetResolution(attr, 0, &yres, &units);
    return units == IPP_RES_PER_CM ? (xres * 254 + 50) / 100 : xres;
}

} // namespace

int QueueResolution(const QString& printerName) {
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    cups_dest_t* dest =
        cupsGetDest(name.isEmpty() ? nullptr : name.constData(), nullptr, count, dests);
    int dpi = 0;
    if (dest != nullptr) {
        dpi = FromOption(cupsGetOption("Resolution", dest->num_options, dest->options));
        if (dpi == 0) {
            dpi = FromDefault(dest);
        }
    }
    cupsFreeDests(count, dests);
    return dpi;
}

void UseQueueResolution(QPrinter& printer, int fallback) {
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        return;
    }
    const int dpi = QueueResolution(printer.printerName());
    printer.setResolution(dpi > 0 ? dpi : fallback);
}
