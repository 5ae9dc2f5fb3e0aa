#include "PrintPreview.h"

#include "PageCache.h"
#include "PrintLoop.h"
#include "PrinterResolution.h"
#include "ScrollView.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kGap = 12; // screen pixels around and between pages
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 4.0;
constexpr double kZoomStep = 1.25;

} // namespace

// The pages on show, side by side, drawn from the preview's cache.
class CPreviewPages : public QWidget {
public:
    explicit CPreviewPages(CPrintPreview& preview) : m_preview(preview) {
        setObjectName(QStringLiteral("previewPages"));
    }

    int Shown() const {
        const int first = m_preview.CurrentPage();
        return m_preview.TwoPages() && first < m_preview.PageCount() ? 2 : 1;
    }

    // The size of the pages on show at the current zoom.
    QSize Needed() const {
        const QSize paper = Scaled(m_preview.PaperDots());
        return QSize(Shown() * (paper.width() + kGap) + kGap, paper.height() + 2 * kGap);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const QSize paper = Scaled(m_preview.PaperDots());
        const double zoom = m_preview.Zoom();
        for (int i = 0; i < Shown(); ++i) {
            const QRect sheet(kGap + i * (paper.width() + kGap), kGap, paper.width(),
                              paper.height());
            painter.fillRect(sheet, Qt::white);
            painter.setPen(Qt::black);
            painter.drawRect(sheet.adjusted(-1, -1, 0, 0));
            const QPicture page = m_preview.Page(m_preview.CurrentPage() + i);
            painter.save();
            painter.setClipRect(sheet);
            painter.translate(sheet.topLeft());
            painter.scale(zoom, zoom);
            painter.translate(m_preview.PrintableOffset());
            painter.drawPicture(0, 0, page);
            painter.restore();
        }
    }

private:
    QSize Scaled(QSize dots) const {
        return QSize(qMax(1, qRound(dots.width() * m_preview.Zoom())),
                     qMax(1, qRound(dots.height() * m_preview.Zoom())));
    }

    CPrintPreview& m_preview;
};

CPrintPreview::CPrintPreview(CScrollView& view, QPrinter& printer, std::function<bool()> print,
                             QWidget* parent)
    : QDialog(parent), m_view(view), m_printer(printer), m_print(std::move(print)),
      m_cache(new CPageCache(kCachedPages, this)) {
    setObjectName(QStringLiteral("PrintPreview"));
    m_cache->setObjectName(QStringLiteral("previewPageCache"));
    setWindowTitle(QStringLiteral("Print Preview"));
    UseQueueResolution(m_printer); // the pages as paper will have them
    auto* bar = new QToolBar(this);
    BuildToolBar(bar);
    m_pages = new CPreviewPages(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_pages);
    m_scroll->setWidgetResizable(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_scroll);
    resize(800, 900);
    m_pageCount = CountPrintPages(m_view, m_printer);
    ShowCurrent();
}

CPrintPreview::~CPrintPreview() = default;

QAction* CPrintPreview::AddAction(const char* name, const QString& text,
                                  void (CPrintPreview::*slot)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

void CPrintPreview::BuildToolBar(QToolBar* bar) {
    const auto step = [this](int delta) {
        return [this, delta] { SetCurrentPage(m_current + delta * (m_twoPages ? 2 : 1)); };
    };
    auto* first = new QAction(QStringLiteral("First"), this);
    auto* previous = new QAction(QStringLiteral("Previous"), this);
    auto* next = new QAction(QStringLiteral("Next"), this);
    auto* last = new QAction(QStringLiteral("Last"), this);
    first->setObjectName(QStringLiteral("previewFirst"));
    previous->setObjectName(QStringLiteral("previewPrevious"));
    next->setObjectName(QStringLiteral("previewNext"));
    last->setObjectName(QStringLiteral("previewLast"));
    previous->setShortcut(QKeySequence::MoveToPreviousPage);
    next->setShortcut(QKeySequence::MoveToNextPage);
    connect(first, &QAction::triggered, this, [this] { SetCurrentPage(1); });
    connect(previous, &QAction::triggered, this, step(-1));
    connect(next, &QAction::triggered, this, step(1));
    connect(last, &QAction::triggered, this, [this] { SetCurrentPage(m_pageCount); });
    bar->addActions({first, previous});
    m_pageField = new QLineEdit(this);
    m_pageField->setObjectName(QStringLiteral("previewPage"));
    m_pageField->setMaximumWidth(80);
    m_pageField->setAlignment(Qt::AlignRight);
    connect(m_pageField, &QLineEdit::returnPressed, this, [this] { OnPageEntered(); });
    bar->addWidget(m_pageField);
    m_pageTotal = new QLabel(this);
    bar->addWidget(m_pageTotal);
    bar->addActions({next, last});
    bar->addSeparator();
    bar->addAction(
        AddAction("previewFitWidth", QStringLiteral("Fit Width"), &CPrintPreview::FitWidth));
    bar->addAction(
        AddAction("previewFitPage", QStringLiteral("Fit Page"), &CPrintPreview::FitPage));
    auto* zoomIn = new QAction(QStringLiteral("Zoom In"), this);
    auto* zoomOut = new QAction(QStringLiteral("Zoom Out"), this);
    zoomIn->setObjectName(QStringLiteral("previewZoomIn"));
    zoomOut->setObjectName(QStringLiteral("previewZoomOut"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomIn, &QAction::triggered, this, [this] { ZoomBy(kZoomStep); });
    connect(zoomOut, &QAction::triggered, this, [this] { ZoomBy(1 / kZoomStep); });
    bar->addActions({zoomIn, zoomOut});
    bar->addSeparator();
    const auto choice = [this, bar](const char* name, const QString& text, bool checked,
                                    QActionGroup* group, std::function<void()> act) {
        auto* action = new QAction(text, group);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::triggered, this, std::move(act));
        bar->addAction(action);
    };
    auto* pages = new QActionGroup(this);
    choice("previewOnePage", QStringLiteral("One Page"), true, pages,
           [this] { SetTwoPages(false); });
    choice("previewTwoPages", QStringLiteral("Two Pages"), false, pages,
           [this] { SetTwoPages(true); });
    bar->addSeparator();
    const bool landscape = m_printer.pageLayout().orientation() == QPageLayout::Landscape;
    auto* orientation = new QActionGroup(this);
    choice("previewPortrait", QStringLiteral("Portrait"), !landscape, orientation,
           [this] { SetLandscape(false); });
    choice("previewLandscape", QStringLiteral("Landscape"), landscape, orientation,
           [this] { SetLandscape(true); });
    bar->addSeparator();
    bar->addAction(AddAction("previewPrint", QStringLiteral("Print..."), &CPrintPreview::OnPrint));
    bar->addAction(AddAction("previewClose", QStringLiteral("Close"), &QDialog::reject));
}

QSize CPrintPreview::PaperDots() const {
    return m_printer.pageLayout().fullRectPixels(m_printer.resolution()).size();
}

QPoint CPrintPreview::PrintableOffset() const {
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).topLeft();
}

QPicture CPrintPreview::Page(int page) {
    return m_cache->Page(page, [this](QPainter& painter, int number) {
        DrawPrintPage(m_view, &painter, m_printer, number, m_view.BarReduction(), true);
    });
}

void CPrintPreview::SetCurrentPage(int page) {
    m_current = std::clamp(page, 1, m_pageCount);
    ShowCurrent();
}

void CPrintPreview::SetTwoPages(bool two) {
    m_twoPages = two;
    ShowCurrent();
}

// The page count depends on the paper's height: it is counted again.
void CPrintPreview::SetLandscape(bool landscape) {
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_cache->Clear();
    m_pageCount = CountPrintPages(m_view, m_printer);
    m_current = std::min(m_current, m_pageCount);
    ShowCurrent();
}

void CPrintPreview::FitWidth() {
    m_fit = Fit::Width;
    ApplyFit();
}

void CPrintPreview::FitPage() {
    m_fit = Fit::Page;
    ApplyFit();
}

void CPrintPreview::ZoomBy(double factor) {
    m_fit = Fit::None;
    m_zoom = std::clamp(m_zoom * factor, kMinZoom, kMaxZoom);
    Relayout();
}

void CPrintPreview::ApplyFit() {
    const QSize paper = PaperDots();
    const QSize room = m_scroll->viewport()->size() - QSize(2 * kGap, 2 * kGap);
    const int across = m_pages->Shown();
    const double width =
        double(room.width() - (across - 1) * kGap) / std::max(1, across * paper.width());
    const double height = double(room.height()) / std::max(1, paper.height());
    if (m_fit == Fit::Width) {
        // The vertical scroll bar takes room from the width.
        m_zoom = width - double(m_scroll->verticalScrollBar()->sizeHint().width()) /
                             std::max(1, across * paper.width());
    } else if (m_fit == Fit::Page) {
        m_zoom = std::min(width, height);
    }
    m_zoom = std::clamp(m_zoom, kMinZoom, kMaxZoom);
    Relayout();
}

void CPrintPreview::Relayout() {
    m_pages->resize(m_pages->Needed());
    m_pages->update();
}

void CPrintPreview::ShowCurrent() {
    m_pageField->setText(QString::number(m_current));
    m_pageTotal->setText(QStringLiteral(" of %1 ").arg(m_pageCount));
    ApplyFit();
    Prefetch();
}

// The neighbours of the pages on show are drawn ahead, so paging on is quick.
void CPrintPreview::Prefetch() {
    const int shown = m_pages->Shown();
    for (const int page : {m_current - 1, m_current + shown}) {
        if (page >= 1 && page <= m_pageCount) {
            Page(page);
        }
    }
}

void CPrintPreview::OnPageEntered() {
    bool ok = false;
    const int page = m_pageField->text().trimmed().toInt(&ok);
    SetCurrentPage(ok ? page : m_current);
}

void CPrintPreview::OnPrint() {
    if (m_print && m_print()) {
        accept();
    }
}

void CPrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ApplyFit();
}

// The first resize comes before the layout gives the scroll area its size; the fit is
// taken again once the layout is in place, so the preview opens at Fit Page.
void CPrintPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    layout()->activate();
    ApplyFit();
}
