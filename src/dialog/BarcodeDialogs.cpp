#include "BarcodeDialogs.h"

#include "Dia_Bar.h"
#include "Dia_PageLayout.h"

ViewDialogs BarcodeDialogs() {
    ViewDialogs dialogs;
    dialogs.settings = [](BarcodeSettings& settings) {
        CDia_Bar dlg(nullptr);
        dlg.m_pSettings = &settings;
        SettingsDialogResult result;
        result.accepted = dlg.DoModal() == IDOK;
        result.clampNotes = dlg.m_clampNotes;
        result.no8BitText = dlg.m_strNo8BitText;
        return result;
    };
    dialogs.pageLayout = [](QWidget* parent, BarcodeSettings& settings,
                            const PageLayoutContext& context) {
        CDia_PageLayout dlg(parent);
        dlg.m_pSettings = &settings;
        dlg.m_strPrinterName = context.printerName;
        dlg.m_nPrinterDpi = context.printerDpi;
        dlg.m_paperMm = context.paperMm;
        dlg.m_nDisplayDpi = context.displayDpi;
        return dlg.DoModal() == IDOK;
    };
    return dialogs;
}
