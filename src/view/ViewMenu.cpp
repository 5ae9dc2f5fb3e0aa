// The view's context menu and its commands: copy, export, zoom, settings.
#include "TavikView.h"

#include "Document.h"
#include "LabelSheets.h"
#include "MessageBox.h"
#include "PrintChecks.h"
#include "ViewExport.h"
#include "ViewRender.h"
#include "WinApp.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QSvgGenerator>

namespace {

QAction* AddViewAction(QWidget* view, const char* name, const QString& text,
                       const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, view);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view->addAction(action);
    return action;
}

} // namespace

void CTavikView::CreateViewActions() {
    // Ctrl+C belongs to the frame's accelerator table, which reaches OnEditCopy;
    // the menu item only shows the key.
    m_actCopy = AddViewAction(this, "viewCopy", QStringLiteral("&Copy\tCtrl+C"), {});
    m_actExport = AddViewAction(this, "viewExport", QStringLiteral("&Export..."),
                                {QKeySequence(Qt::CTRL | Qt::Key_E)});
    m_actZoomIn = AddViewAction(
        this, "viewZoomIn", QStringLiteral("Zoom &In"),
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_actZoomOut = AddViewAction(this, "viewZoomOut", QStringLiteral("Zoom &Out"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    m_actActualSize = AddViewAction(this, "viewActualSize", QStringLiteral("&Actual Size"),
                                    {QKeySequence(Qt::CTRL | Qt::Key_0)});
    m_actSettings = AddViewAction(this, "viewSettings", QStringLiteral("&Settings..."), {});
    m_actNextProblem = AddViewAction(this, "viewNextProblem", QStringLiteral("&Next Problem Row"),
                                     {QKeySequence(Qt::Key_F8)});
    m_actNextProblem->setEnabled(false);
    m_actPageLayout =
        AddViewAction(this, "pageLayoutAction", QStringLiteral("Page &Layout..."), {});
    connect(m_actPageLayout, &QAction::triggered, this, [this] { OnPageLayout(); });
    connect(m_actNextProblem, &QAction::triggered, this, [this] { OnNextProblemRow(); });
    connect(m_actCopy, &QAction::triggered, this, [this] { OnEditCopy(); });
    connect(m_actExport, &QAction::triggered, this, [this] { OnFileExport(); });
    connect(m_actZoomIn, &QAction::triggered, this, [this] { SetZoom(GetZoom() + 1); });
    connect(m_actZoomOut, &QAction::triggered, this, [this] { SetZoom(GetZoom() - 1); });
    connect(m_actActualSize, &QAction::triggered, this, [this] { SetZoom(1); });
    connect(m_actSettings, &QAction::triggered, this, [this] { OnShowSettings(); });
    UpdateViewActions();
}

bool CTavikView::HasDrawing() const {
    return !GetTotalSize().isEmpty();
}

void CTavikView::UpdateViewActions() {
    m_actCopy->setEnabled(HasDrawing());
    m_actExport->setEnabled(HasDrawing());
    m_actZoomIn->setEnabled(GetZoom() < kMaxZoom);
    m_actZoomOut->setEnabled(GetZoom() > kMinZoom);
    m_actActualSize->setEnabled(GetZoom() != 1);
}

void CTavikView::contextMenuEvent(QContextMenuEvent* event) {
    UpdateViewActions();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("viewContextMenu"));
    menu.addActions({m_actCopy, m_actExport});
    menu.addSeparator();
    menu.addActions({m_actZoomIn, m_actZoomOut, m_actActualSize});
    menu.addSeparator();
    menu.addAction(m_actNextProblem);
    menu.addAction(m_actSettings);
    menu.addAction(m_actPageLayout);
    menu.exec(event->globalPos());
}

void CTavikView::OnZoomChanged() {
    UpdateViewActions();
    ShowZoom();
}

void CTavikView::focusInEvent(QFocusEvent* event) {
    CScrollView::focusInEvent(event);
    ShowZoom();
    ShowRowCheck();
}

// A pane at the right of the status bar, shown when the zoom is not 1.
void CTavikView::ShowZoom() {
    if (m_statusReport) {
        m_statusReport(QStringLiteral("zoomIndicator"), QStringLiteral("Zoom %1x").arg(GetZoom()),
                       GetZoom() != 1);
    }
}

// The page layout of the program's printer, as Print would use it, at the
// resolution Page Layout sets for exported PDFs.
std::unique_ptr<QPrinter> CTavikView::ExportPrinter() const {
    CWinApp* app = AfxGetApp();
    const QPrinter* model = app != nullptr ? &app->GetPrinter() : nullptr;
    auto printer = MakePdfPrinter(m_settings.m_print.pdfDpi);
    if (model != nullptr) {
        printer->setPageLayout(model->pageLayout());
    }
    if (m_settings.m_labels.Active()) {
        Labels::UseSheetPage(*printer, m_settings.m_labels.sheet);
    }
    return printer;
}

void CTavikView::PreparePrinter(QPrinter& printer) {
    if (m_settings.m_labels.Active()) {
        Labels::UseSheetPage(printer, m_settings.m_labels.sheet);
    } else {
        printer.setFullPage(false); // only a sheet prints from the paper's corner
    }
}

QString CTavikView::PromptExportFileName() {
    QFileDialog dialog(
        this, QStringLiteral("Export"), QString(),
        QStringLiteral("PNG image (*.png);;SVG image (*.svg);;PDF document (*.pdf)"));
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, once
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    QString path = dialog.selectedFiles().constFirst();
    if (!IsSvg(path) && !IsPdf(path) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        const QString filter = dialog.selectedNameFilter();
        path += filter.contains(QStringLiteral("*.svg"))   ? QStringLiteral(".svg")
                : filter.contains(QStringLiteral("*.pdf")) ? QStringLiteral(".pdf")
                                                           : QStringLiteral(".png");
    }
    return path;
}

void CTavikView::OnFileExport() {
    const QString path = PromptExportFileName();
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}
