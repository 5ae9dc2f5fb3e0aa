#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct BarcodeSettings;
class QWidget;

// What the Settings dialog tells beside the settings it edited.
struct SettingsDialogResult {
    bool accepted = false;
    QStringList clampNotes;            // values OK brought within their bounds
    std::optional<QString> no8BitText; // a text typed with characters beyond Latin-1
};

// The printer and display the Page Layout dialog shows its sizes for.
struct PageLayoutContext {
    QString printerName;
    int printerDpi = 600;
    QSizeF paperMm{210, 297};
    int displayDpi = 96;
};

// The dialogs the barcode view opens. They sit above the view, so whoever makes
// the view hands them in; a view without them opens none.
struct ViewDialogs {
    std::function<SettingsDialogResult(BarcodeSettings&)> settings;
    std::function<bool(QWidget* parent, BarcodeSettings&, const PageLayoutContext&)> pageLayout;
};
