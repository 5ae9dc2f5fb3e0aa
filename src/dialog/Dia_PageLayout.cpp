#include "Dia_PageLayout.h"

#include "LabelSheets.h"
#include "PrintSize.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

// A length in mm ("0.33", "0,33" or "0.33 mm"); empty or 0 is none.
std::optional<double> ReadMm(const QString& text, double lowest, double highest) {
    QString t = text.trimmed();
    if (t.endsWith(QStringLiteral("mm"), Qt::CaseInsensitive)) {
        t = t.chopped(2).trimmed();
    }
    t.replace(u',', u'.');
    if (t.isEmpty()) {
        return 0.0;
    }
    bool ok = false;
    const double mm = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(mm) || (mm != 0 && (mm < lowest || mm > highest))) {
        return std::nullopt;
    }
    return mm;
}

std::optional<int> ReadWhole(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int n = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok || n < lowest || n > highest) {
        return std::nullopt;
    }
    return n;
}

QString Number(double v) {
    return QString::number(v, 'g', 6);
}

// No value: why in error and the wrong field in *bad.
std::nullopt_t Refuse(QString& error, QLineEdit** bad, QLineEdit* edit, const QString& why) {
    error = why;
    *bad = edit;
    return std::nullopt;
}

QString WholeError(const QString& what, const char* unit, int lowest, int highest,
                   const QString& text) {
    return QStringLiteral("%1 must be a whole number of %2 from %3 to %4, not \"%5\"")
        .arg(what, QString::fromLatin1(unit), QString::number(lowest), QString::number(highest),
             text);
}

// Two lengths in mm, "63.5x38.1" (separator 'x') or "7.2,15.1" (','), or with a unit
// after the second as tavik-batch takes them.
std::optional<std::pair<double, double>> ReadMmPair(const QString& text, char separator) {
    QString t = text.trimmed().remove(u' ');
    if (!t.isEmpty() && t.back().isDigit()) {
        t += QStringLiteral("mm");
    }
    return Labels::LengthPairMm(t.toStdString(), separator);
}

QString MmPair(double a, double b, char separator) {
    return Number(a) + QLatin1Char(separator) + Number(b);
}

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

QLineEdit* AddEdit(QFormLayout* form, const char* name, const QString& label) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    return edit;
}

// A part of the dialog: a group box and the layout of its contents.
QGroupBox* NewPart(const QString& title, const char* name, QVBoxLayout*& part) {
    auto* group = new QGroupBox(title);
    group->setObjectName(QString::fromLatin1(name));
    part = new QVBoxLayout(group);
    return group;
}

QLabel* AddLine(QVBoxLayout* lines, const char* name) {
    auto* line = new QLabel;
    line->setObjectName(QString::fromLatin1(name));
    line->setWordWrap(true);
    lines->addWidget(line);
    return line;
}

} // namespace

// A small drawing of the chosen sheet: its page and its labels, to scale.
class CSheetPreview : public QWidget {
public:
    LabelSheet sheet;

    QSize sizeHint() const override { return {110, 140}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Labels::DrawSheet(painter, QRectF(rect()).adjusted(2, 2, -2, -2), sheet);
    }
};

CDia_PageLayout::CDia_PageLayout(QWidget* pParent) : CDialog(pParent) {
    setObjectName(QStringLiteral("PageLayoutDialog"));
    setWindowTitle(QStringLiteral("Page Layout"));
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
    auto* layout = new QVBoxLayout(this);
    m_parts = new QVBoxLayout;
    layout->addLayout(m_parts);
    m_parts->addWidget(CreateSizesPart());
    m_parts->addWidget(CreateLabelsPart());
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_error);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] { OnBnClickedOk(); });
    connect(m_buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

QGroupBox* CDia_PageLayout::CreateSizesPart() {
    QVBoxLayout* part = nullptr;
    QGroupBox* group = NewPart(QStringLiteral("Sizes on paper"), "sizesGroup", part);
    auto* form = new QFormLayout;
    part->addLayout(form);
    m_editX = AddEdit(form, "xDimensionEdit", QStringLiteral("&X-dimension (mm):"));
    m_editBarHeight = AddEdit(form, "barHeightEdit", QStringLiteral("Bar &height (mm):"));
    m_editPdfDpi = AddEdit(form, "pdfDpiEdit", QStringLiteral("&PDF resolution for Export (dpi):"));
    m_editBarReduction =
        AddEdit(form, "barReductionEdit", QStringLiteral("Bar &reduction (dots):"));
    m_printerLine = AddLine(part, "printerXLabel");
    m_pdfLine = AddLine(part, "pdfXLabel");
    m_warning = AddLine(part, "xWarningLabel");
    m_warning->setStyleSheet(QStringLiteral("color: #a04000"));
    for (QLineEdit* edit : {m_editX, m_editBarHeight, m_editPdfDpi, m_editBarReduction}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { OnFieldsChanged(); });
    }
    return group;
}

bool CDia_PageLayout::OnInitDialog() {
    CDialog::OnInitDialog();
    const BarcodeSettings& s = *m_pSettings;
    const PrintSizes& p = s.m_print;
    m_editX->setPlaceholderText(QStringLiteral("from the line width, %1").arg(s.m_nBarWidth));
    m_editBarHeight->setPlaceholderText(
        QStringLiteral("from the bar height, %1").arg(s.m_nBarHeight));
    m_editX->setText(p.xMm > 0 ? Number(p.xMm) : QString());
    m_editBarHeight->setText(p.barHeightMm > 0 ? Number(p.barHeightMm) : QString());
    m_editPdfDpi->setText(QString::number(p.pdfDpi));
    m_editBarReduction->setText(QString::number(p.barReduction));
    ShowLabels(s.m_labels);
    OnFieldsChanged();
    return true;
}

std::optional<PrintSizes> CDia_PageLayout::ReadFields(QString& error, QLineEdit** bad) const {
    const auto mm = [](const QString& what, double lowest, double highest, const QString& unset,
                       const QString& text) {
        return QStringLiteral("%1 must be a length in mm from %2 to %3 (empty: %4), not \"%5\"")
            .arg(what, Number(lowest), Number(highest), unset, text);
    };
    PrintSizes p = m_pSettings->m_print;
    if (const auto x = ReadMm(m_editX->text(), kMinXMm, kMaxXMm)) {
        p.xMm = *x;
    } else {
        return Refuse(error, bad, m_editX,
                      mm(QStringLiteral("The X-dimension"), kMinXMm, kMaxXMm,
                         QStringLiteral("from the line width"), m_editX->text()));
    }
    if (const auto h = ReadMm(m_editBarHeight->text(), kMinBarHeightMm, kMaxBarHeightMm)) {
        p.barHeightMm = *h;
    } else {
        return Refuse(error, bad, m_editBarHeight,
                      mm(QStringLiteral("The bar height"), kMinBarHeightMm, kMaxBarHeightMm,
                         QStringLiteral("from the bar height"), m_editBarHeight->text()));
    }
    if (const auto dpi = ReadWhole(m_editPdfDpi->text(), kMinPdfDpi, kMaxPdfDpi)) {
        p.pdfDpi = *dpi;
    } else {
        return Refuse(error, bad, m_editPdfDpi,
                      WholeError(QStringLiteral("The PDF resolution"), "dpi", kMinPdfDpi,
                                 kMaxPdfDpi, m_editPdfDpi->text()));
    }
    if (const auto r = ReadWhole(m_editBarReduction->text(), 0, kMaxBarReduction)) {
        p.barReduction = *r;
    } else {
        return Refuse(error, bad, m_editBarReduction,
                      WholeError(QStringLiteral("The bar reduction"), "dots", 0, kMaxBarReduction,
                                 m_editBarReduction->text()));
    }
    BarcodeSettings probe = *m_pSettings;
    probe.m_print = p;
    for (const int dpi : {m_nPrinterDpi, p.pdfDpi}) {
        const std::string why =
            PrintSize::BarReductionProblem(probe, p.barReduction, dpi, m_nDisplayDpi);
        if (!why.empty()) {
            return Refuse(error, bad, m_editBarReduction,
                          QStringLiteral("A bar reduction of %1 %2")
                              .arg(QString::number(p.barReduction), FromStd(why)));
        }
    }
    return p;
}

void CDia_PageLayout::OnFieldsChanged() {
    QString error;
    QLineEdit* bad = nullptr;
    const std::optional<PrintSizes> sizes = ReadFields(error, &bad);
    if (sizes) {
        ReadLabels(error, &bad);
    }
    m_error->setText(error);
    if (!sizes) {
        return; // the lines keep what the last good values gave
    }
    BarcodeSettings probe = *m_pSettings;
    probe.m_print = *sizes;
    if (probe.m_bTrueType) {
        m_printerLine->setText(QStringLiteral("The bars come from the barcode font: these sizes "
                                              "apply when they are drawn as lines."));
        return;
    }
    const QString printer = m_strPrinterName.isEmpty()
                                ? QStringLiteral("the printer")
                                : QStringLiteral("\"%1\"").arg(m_strPrinterName);
    m_printerLine->setText(
        QStringLiteral("On %1: %2")
            .arg(printer, FromStd(PrintSize::DescribeX(probe, m_nPrinterDpi, m_nDisplayDpi))));
    m_pdfLine->setText(
        QStringLiteral("Exported PDF: %1")
            .arg(FromStd(PrintSize::DescribeX(probe, sizes->pdfDpi, m_nDisplayDpi))));
    QStringList warnings;
    for (const int dpi : {m_nPrinterDpi, sizes->pdfDpi}) {
        const QString w = FromStd(PrintSize::XProblem(probe, dpi, m_nDisplayDpi));
        if (!w.isEmpty() && !warnings.contains(w)) {
            warnings.append(w);
        }
    }
    m_warning->setText(warnings.join(u'\n'));
}

// Refused while a field is wrong: the reason stays shown and the field gets the focus.
void CDia_PageLayout::OnBnClickedOk() {
    QString error;
    QLineEdit* bad = nullptr;
    const std::optional<PrintSizes> sizes = ReadFields(error, &bad);
    const std::optional<LabelChoice> labels = sizes ? ReadLabels(error, &bad) : std::nullopt;
    if (!labels) {
        m_error->setText(error);
        bad->setFocus();
        bad->selectAll();
        return;
    }
    m_pSettings->m_print = *sizes;
    m_pSettings->m_labels = *labels;
    OnOK();
}

QGroupBox* CDia_PageLayout::CreateLabelsPart() {
    QVBoxLayout* part = nullptr;
    QGroupBox* group = NewPart(QStringLiteral("Labels"), "labelsGroup", part);
    auto* choice = new QHBoxLayout;
    part->addLayout(choice);
    auto* left = new QVBoxLayout;
    choice->addLayout(left, 1);
    m_editSearch = new QLineEdit;
    m_editSearch->setObjectName(QStringLiteral("labelSearchEdit"));
    m_editSearch->setPlaceholderText(QStringLiteral("Search the sheets, e.g. l7160 or address"));
    m_editSearch->setClearButtonEnabled(true);
    left->addWidget(m_editSearch);
    m_sheetList = new QListWidget;
    m_sheetList->setObjectName(QStringLiteral("labelSheetList"));
    const auto addSheet = [this](const QString& text, int index) {
        auto* item = new QListWidgetItem(text, m_sheetList);
        item->setData(Qt::UserRole, index);
    };
    addSheet(QStringLiteral("None (rows down the page)"), kNoSheet);
    const std::vector<LabelSheet>& sheets = Labels::BuiltInSheets();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        addSheet(QStringLiteral("%1 \u2014 %2")
                     .arg(FromStd(sheets[i].name), FromStd(sheets[i].description)),
                 static_cast<int>(i));
    }
    addSheet(QStringLiteral("Custom"), kCustomSheet);
    left->addWidget(m_sheetList);
    m_sheetPreview = new CSheetPreview;
    m_sheetPreview->setObjectName(QStringLiteral("labelSheetPreview"));
    choice->addWidget(m_sheetPreview);
    m_sheetLine = AddLine(part, "labelSheetLabel");
    m_sheetLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sheetLine->setMinimumHeight(m_sheetLine->fontMetrics().lineSpacing() * 4 + 4);

    auto* custom = new QFormLayout;
    m_customFields = new QWidget;
    m_customFields->setLayout(custom);
    part->addWidget(m_customFields);
    m_editGrid = AddEdit(custom, "labelGridEdit", QStringLiteral("&Columns x rows:"));
    m_editPage = AddEdit(custom, "labelPageEdit", QStringLiteral("Pa&ge (mm):"));
    m_editLabelSize = AddEdit(custom, "labelSizeEdit", QStringLiteral("&Label size (mm):"));
    m_editPitch = AddEdit(custom, "labelPitchEdit", QStringLiteral("P&itch across x down (mm):"));
    m_editPitch->setPlaceholderText(QStringLiteral("the label size"));
    m_editOffset = AddEdit(custom, "labelOffsetEdit", QStringLiteral("&First label at x,y (mm):"));
    m_editOffset->setPlaceholderText(QStringLiteral("0,0"));

    auto* fill = new QFormLayout;
    m_fillFields = new QWidget;
    m_fillFields->setLayout(fill);
    part->addWidget(m_fillFields);
    m_order = new QComboBox;
    m_order->setObjectName(QStringLiteral("labelOrderCombo"));
    m_order->addItems({QStringLiteral("Across, then down"), QStringLiteral("Down, then across")});
    fill->addRow(QStringLiteral("&Order:"), m_order);
    m_editSkip = AddEdit(fill, "labelSkipEdit", QStringLiteral("&Skip the first labels:"));
    m_editCopies = AddEdit(fill, "labelCopiesEdit", QStringLiteral("C&opies of each line:"));

    connect(m_editSearch, &QLineEdit::textChanged, this, [this] { OnSearchChanged(); });
    connect(m_sheetList, &QListWidget::currentRowChanged, this, [this] { OnLabelsChanged(); });
    for (QLineEdit* edit : {m_editGrid, m_editPage, m_editLabelSize, m_editPitch, m_editOffset,
                            m_editSkip, m_editCopies}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { OnLabelsChanged(); });
    }
    return group;
}

// The choice in the fields; a custom grid starts on the printer's paper.
void CDia_PageLayout::ShowLabels(const LabelChoice& labels) {
    const LabelSheet& s = labels.sheet;
    const bool custom = labels.Active() && Labels::FindSheet(s.name) == nullptr;
    m_editGrid->setText(custom ? QStringLiteral("%1x%2").arg(s.columns).arg(s.rows) : QString());
    m_editPage->setText(custom ? MmPair(s.pageWidth, s.pageHeight, 'x')
                               : MmPair(m_paperMm.width(), m_paperMm.height(), 'x'));
    m_editLabelSize->setText(custom ? MmPair(s.labelWidth, s.labelHeight, 'x') : QString());
    m_editPitch->setText(custom ? MmPair(s.pitchX, s.pitchY, 'x') : QString());
    m_editOffset->setText(custom ? MmPair(s.offsetX, s.offsetY, ',') : QString());
    m_order->setCurrentIndex(labels.down ? 1 : 0);
    m_editSkip->setText(QString::number(labels.skip));
    m_editCopies->setText(QString::number(labels.copies));
    int chosen = kNoSheet;
    if (custom) {
        chosen = kCustomSheet;
    } else if (const LabelSheet* sheet = labels.Active() ? Labels::FindSheet(s.name) : nullptr) {
        chosen = static_cast<int>(sheet - Labels::BuiltInSheets().data());
    }
    for (int row = 0; row < m_sheetList->count(); ++row) {
        if (m_sheetList->item(row)->data(Qt::UserRole).toInt() == chosen) {
            m_sheetList->setCurrentRow(row);
        }
    }
    OnLabelsChanged();
}

// The search hides the sheets that do not match; None and Custom stay.
void CDia_PageLayout::OnSearchChanged() {
    const std::vector<const LabelSheet*> found =
        Labels::MatchSheets(m_editSearch->text().toStdString());
    const LabelSheet* first = Labels::BuiltInSheets().data();
    for (int row = 0; row < m_sheetList->count(); ++row) {
        QListWidgetItem* item = m_sheetList->item(row);
        const int index = item->data(Qt::UserRole).toInt();
        item->setHidden(index >= 0 &&
                        std::find(found.begin(), found.end(), first + index) == found.end());
    }
}

int CDia_PageLayout::ChosenSheet() const {
    const QListWidgetItem* item = m_sheetList->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : kNoSheet;
}

void CDia_PageLayout::OnLabelsChanged() {
    const int chosen = ChosenSheet();
    m_customFields->setEnabled(chosen == kCustomSheet);
    m_fillFields->setEnabled(chosen != kNoSheet);
    QString error;
    QLineEdit* bad = nullptr;
    std::optional<LabelSheet> sheet;
    if (chosen >= 0) {
        sheet = Labels::BuiltInSheets()[static_cast<std::size_t>(chosen)];
    } else if (chosen == kCustomSheet) {
        sheet = ReadCustomSheet(error, &bad);
    }
    m_sheetPreview->sheet = sheet.value_or(LabelSheet{});
    m_sheetPreview->update();
    if (chosen == kNoSheet) {
        m_sheetLine->setText(QStringLiteral("The rows stack down the page."));
    } else if (sheet) {
        m_sheetLine->setText(FromStd(Labels::DescribeSheet(*sheet)).simplified());
    }
    OnFieldsChanged();
}

std::optional<LabelSheet> CDia_PageLayout::ReadCustomSheet(QString& error, QLineEdit** bad) const {
    LabelSheet s;
    if (const auto grid = Labels::Grid(m_editGrid->text().trimmed().remove(u' ').toStdString())) {
        std::tie(s.columns, s.rows) = *grid;
    } else {
        return Refuse(error, bad, m_editGrid,
                      QStringLiteral("Columns x rows must be COLSxROWS, each from 1 to "
                                     "%1, not \"%2\"")
                          .arg(Labels::kMaxSide)
                          .arg(m_editGrid->text()));
    }
    const struct {
        QLineEdit* edit;
        char separator;
        const char* what;
        const char* example;
        double *a, *b;
    } pairs[] = {
        {m_editPage, 'x', "The page", "210x297", &s.pageWidth, &s.pageHeight},
        {m_editLabelSize, 'x', "The label size", "63.5x38.1", &s.labelWidth, &s.labelHeight},
        {m_editPitch, 'x', "The pitch", "66.04x38.1, empty: the label size", &s.pitchX, &s.pitchY},
        {m_editOffset, ',', "The first label's corner", "7.21,15.15, empty: 0,0", &s.offsetX,
         &s.offsetY},
    };
    for (const auto& p : pairs) {
        const QString text = p.edit->text().trimmed();
        const auto mm = ReadMmPair(text, p.separator);
        if (mm) {
            std::tie(*p.a, *p.b) = *mm;
        } else if (!text.isEmpty() || p.edit == m_editPage || p.edit == m_editLabelSize) {
            return Refuse(error, bad, p.edit,
                          QStringLiteral("%1 must be two lengths in mm (e.g. %2), not \"%3\"")
                              .arg(QString::fromLatin1(p.what), QString::fromLatin1(p.example),
                                   p.edit->text()));
        }
    }
    if (m_editPitch->text().trimmed().isEmpty()) {
        s.pitchX = s.labelWidth;
        s.pitchY = s.labelHeight;
    }
    s.description = "custom grid";
    s.source = "Page Layout";
    if (const std::string why = Labels::SheetProblem(s); !why.empty()) {
        // The field the reason is about gets the focus.
        const QString reason = FromStd(why);
        QLineEdit* field = reason.contains(QStringLiteral("pitch"))   ? m_editPitch
                           : reason.contains(QStringLiteral("grid"))  ? m_editGrid
                           : reason.contains(QStringLiteral("reach")) ? m_editOffset
                                                                      : m_editLabelSize;
        return Refuse(error, bad, field,
                      QStringLiteral("The custom grid does not work: %1").arg(reason));
    }
    return s;
}

std::optional<LabelChoice> CDia_PageLayout::ReadLabels(QString& error, QLineEdit** bad) const {
    const int chosen = ChosenSheet();
    if (chosen == kNoSheet) {
        return LabelChoice{};
    }
    LabelChoice labels;
    if (chosen == kCustomSheet) {
        const std::optional<LabelSheet> sheet = ReadCustomSheet(error, bad);
        if (!sheet) {
            return std::nullopt;
        }
        labels.sheet = *sheet;
    } else {
        labels.sheet = Labels::BuiltInSheets()[static_cast<std::size_t>(chosen)];
    }
    labels.down = m_order->currentIndex() == 1;
    if (const auto skip = ReadWhole(m_editSkip->text(), 0, Labels::kMaxSkip)) {
        labels.skip = *skip;
    } else {
        return Refuse(
            error, bad, m_editSkip,
            WholeError(QStringLiteral("Skip"), "labels", 0, Labels::kMaxSkip, m_editSkip->text()));
    }
    if (const std::string why = Labels::SkipProblem(labels); !why.empty()) {
        return Refuse(error, bad, m_editSkip,
                      QStringLiteral("Skipping %1 labels %2").arg(labels.skip).arg(FromStd(why)));
    }
    if (const auto copies = ReadWhole(m_editCopies->text(), 1, LabelChoice::kMaxCopies)) {
        labels.copies = *copies;
    } else {
        return Refuse(error, bad, m_editCopies,
                      WholeError(QStringLiteral("Copies"), "labels", 1, LabelChoice::kMaxCopies,
                                 m_editCopies->text()));
    }
    return labels;
}
