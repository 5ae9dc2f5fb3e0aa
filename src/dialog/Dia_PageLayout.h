#pragma once

#include "BarcodeSettings.h"
#include "Dialog.h"
#include "LabelSheet.h"

#include <QSizeF>
#include <QString>

#include <optional>

class CSheetPreview;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;

// The modal Page Layout dialog: the sizes a view's rows have on paper. It
// edits m_pSettings->m_print and m_labels on OK only, and shows while it is open what X the
// printer and an exported PDF would print, with the standard's warnings.
// Each part of the dialog is a group box of its own, stacked above the buttons.
class CDia_PageLayout : public CDialog {
public:
    explicit CDia_PageLayout(QWidget* pParent = nullptr);

    // The lengths and numbers the fields take.
    static constexpr double kMinXMm = 0.01, kMaxXMm = 25;
    static constexpr double kMinBarHeightMm = 0.1, kMaxBarHeightMm = 2500;
    static constexpr int kMinPdfDpi = 72, kMaxPdfDpi = 4800;
    static constexpr int kMaxBarReduction = 100;

    bool OnInitDialog() override;
    void OnBnClickedOk();

    // The block being edited, not owned; set before DoModal.
    BarcodeSettings* m_pSettings = nullptr;
    // The printer the sizes are measured on, and the display's resolution
    // (display units become dots through it).
    QString m_strPrinterName;
    int m_nPrinterDpi = 600;
    int m_nDisplayDpi = 96;
    // The printer's paper, the page a new custom grid of labels starts on.
    QSizeF m_paperMm{210, 297};

private:
    // What the fields say, or why they cannot be taken (error set, and the field
    // that is wrong in *bad).
    std::optional<PrintSizes> ReadFields(QString& error, QLineEdit** bad) const;
    void OnFieldsChanged();
    QGroupBox* CreateSizesPart();
    // The Labels part: a sheet from the built-in list, a custom grid, or none.
    std::optional<LabelChoice> ReadLabels(QString& error, QLineEdit** bad) const;
    std::optional<LabelSheet> ReadCustomSheet(QString& error, QLineEdit** bad) const;
    int ChosenSheet() const; // an index of Labels::BuiltInSheets, or kNoSheet or kCustomSheet
    void ShowLabels(const LabelChoice& labels);
    void OnLabelsChanged();
    void OnSearchChanged();
    QGroupBox* CreateLabelsPart();
    static constexpr int kNoSheet = -1, kCustomSheet = -2;

    QVBoxLayout* m_parts = nullptr;
    QLineEdit* m_editX = nullptr;
    QLineEdit* m_editBarHeight = nullptr;
    QLineEdit* m_editPdfDpi = nullptr;
    QLineEdit* m_editBarReduction = nullptr;
    QLabel* m_printerLine = nullptr;
    QLabel* m_pdfLine = nullptr;
    QLabel* m_warning = nullptr;
    QLineEdit* m_editSearch = nullptr;
    QListWidget* m_sheetList = nullptr;
    CSheetPreview* m_sheetPreview = nullptr;
    QLabel* m_sheetLine = nullptr;
    QWidget* m_customFields = nullptr;
    QLineEdit* m_editGrid = nullptr;
    QLineEdit* m_editPage = nullptr;
    QLineEdit* m_editLabelSize = nullptr;
    QLineEdit* m_editPitch = nullptr;
    QLineEdit* m_editOffset = nullptr;
    QWidget* m_fillFields = nullptr;
    QComboBox* m_order = nullptr;
    QLineEdit* m_editSkip = nullptr;
    QLineEdit* m_editCopies = nullptr;
    QLabel* m_error = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
