#pragma once

#include <QDialog>
#include <QPicture>

#include <functional>

class CPageCache;
class CScrollView;
class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QToolBar;
class CPreviewPages;

// Ours rather than QPrintPreviewDialog, which draws every page before it shows one.
// Print preview of a view on a printer. Pages are drawn on demand through the
// print loop's page drawing: only the pages on show and their neighbours, kept
// in a small cache; the page count comes from the layout. Controls (found by
// objectName): previewFirst, previewPrevious, previewNext, previewLast, the page
// field previewPage, previewFitWidth, previewFitPage, previewZoomIn,
// previewZoomOut, previewOnePage, previewTwoPages, previewPortrait,
// previewLandscape, previewPrint and previewClose; the cache is previewPageCache.
class CPrintPreview : public QDialog {
public:
    // print runs the Print command; the preview closes when it returns true.
    CPrintPreview(CScrollView& view, QPrinter& printer, std::function<bool()> print,
                  QWidget* parent = nullptr);
    ~CPrintPreview() override;

    static constexpr int kCachedPages = 8;

    int PageCount() const { return m_pageCount; }
    int CurrentPage() const { return m_current; }
    void SetCurrentPage(int page);
    bool TwoPages() const { return m_twoPages; }
    void SetTwoPages(bool two);
    void SetLandscape(bool landscape);
    // Printer dots to screen pixels.
    double Zoom() const { return m_zoom; }
    void FitWidth();
    void FitPage();
    void ZoomBy(double factor);

    // Page `page`, drawing it unless it is cached.
    QPicture Page(int page);
    // The paper and the printable area's place on it, in printer dots.
    QSize PaperDots() const;
    QPoint PrintableOffset() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Fit { Width, Page, None };
    QAction* AddAction(const char* name, const QString& text, void (CPrintPreview::*slot)());
    void BuildToolBar(QToolBar* bar);
    void Relayout();
    void ApplyFit();
    void ShowCurrent();
    void Prefetch();
    void OnPageEntered();
    void OnPrint();

    CScrollView& m_view;
    QPrinter& m_printer;
    std::function<bool()> m_print;
    int m_pageCount = 1;
    int m_current = 1;
    bool m_twoPages = false;
    double m_zoom = 0.1;
    Fit m_fit = Fit::Page;
    CPageCache* m_cache;
    QScrollArea* m_scroll = nullptr;
    CPreviewPages* m_pages = nullptr;
    QLineEdit* m_pageField = nullptr;
    QLabel* m_pageTotal = nullptr;
};
