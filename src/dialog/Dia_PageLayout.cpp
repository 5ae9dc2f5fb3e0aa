#include "Dia_PageLayout.h"

#include "PrintSize.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

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

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

QLineEdit* AddEdit(QFormLayout* form, const char* name, const QString& label) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    return edit;
}

QLabel* AddLine(QVBoxLayout* lines, const char* name) {
    auto* line = new QLabel;
    line->setObjectName(QString::fromLatin1(name));
    line->setWordWrap(true);
    lines->addWidget(line);
    return line;
}

} // namespace

CDia_PageLayout::CDia_PageLayout(QWidget* pParent) : CDialog(pParent) {
    setObjectName(QStringLiteral("PageLayoutDialog"));
    setWindowTitle(QStringLiteral("Page Layout"));
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
    auto* layout = new QVBoxLayout(this);
    m_parts = new QVBoxLayout;
    layout->addLayout(m_parts);
    m_parts->addWidget(CreateSizesPart());
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
    auto* group = new QGroupBox(QStringLiteral("Sizes on paper"));
    group->setObjectName(QStringLiteral("sizesGroup"));
    auto* part = new QVBoxLayout(group);
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
    OnFieldsChanged();
    return true;
}

std::optional<PrintSizes> CDia_PageLayout::ReadFields(QString& error, QLineEdit** bad) const {
    const auto fail = [&](QLineEdit* edit, const QString& why) {
        error = why;
        *bad = edit;
        return std::nullopt;
    };
    const auto mm = [](const QString& what, double lowest, double highest, const QString& unset,
                       const QString& text) {
        return QStringLiteral("%1 must be a length in mm from %2 to %3 (empty: %4), not \"%5\"")
            .arg(what, Number(lowest), Number(highest), unset, text);
    };
    PrintSizes p = m_pSettings->m_print;
    if (const auto x = ReadMm(m_editX->text(), kMinXMm, kMaxXMm)) {
        p.xMm = *x;
    } else {
        return fail(m_editX, mm(QStringLiteral("The X-dimension"), kMinXMm, kMaxXMm,
                                QStringLiteral("from the line width"), m_editX->text()));
    }
    if (const auto h = ReadMm(m_editBarHeight->text(), kMinBarHeightMm, kMaxBarHeightMm)) {
        p.barHeightMm = *h;
    } else {
        return fail(m_editBarHeight,
                    mm(QStringLiteral("The bar height"), kMinBarHeightMm, kMaxBarHeightMm,
                       QStringLiteral("from the bar height"), m_editBarHeight->text()));
    }
    const auto whole = [](const QString& what, const char* unit, int lowest, int highest,
                          const QString& text) {
        return QStringLiteral("%1 must be a whole number of %2 from %3 to %4, not \"%5\"")
            .arg(what, QString::fromLatin1(unit), QString::number(lowest), QString::number(highest),
                 text);
    };
    if (const auto dpi = ReadWhole(m_editPdfDpi->text(), kMinPdfDpi, kMaxPdfDpi)) {
        p.pdfDpi = *dpi;
    } else {
        return fail(m_editPdfDpi, whole(QStringLiteral("The PDF resolution"), "dpi", kMinPdfDpi,
                                        kMaxPdfDpi, m_editPdfDpi->text()));
    }
    if (const auto r = ReadWhole(m_editBarReduction->text(), 0, kMaxBarReduction)) {
        p.barReduction = *r;
    } else {
        return fail(m_editBarReduction, whole(QStringLiteral("The bar reduction"), "dots", 0,
                                              kMaxBarReduction, m_editBarReduction->text()));
    }
    BarcodeSettings probe = *m_pSettings;
    probe.m_print = p;
    for (const int dpi : {m_nPrinterDpi, p.pdfDpi}) {
        const std::string why =
            PrintSize::BarReductionProblem(probe, p.barReduction, dpi, m_nDisplayDpi);
        if (!why.empty()) {
            return fail(m_editBarReduction,
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
    if (!sizes) {
        m_error->setText(error);
        bad->setFocus();
        bad->selectAll();
        return;
    }
    m_pSettings->m_print = *sizes;
    OnOK();
}
