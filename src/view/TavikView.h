#pragma once

#include "BarcodeSettings.h"
#include "EncoderSet.h"
#include "RowPass.h"
#include "RowRenderer.h"
#include "RowReport.h"
#include "SatMath.h"
#include "ScrollView.h"
#include "ViewDialogs.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CBackgroundJob;
struct RowCheck;

// What the last complete row pass found wrong: the counts and the problem rows in
// order; for a single text, what is wrong with it.
// Row numbers as one bit a row, so that a list of millions of problem rows
// (blank lines, say) costs an eighth of a byte a line.
class CRowSet {
public:
    void Add(std::int64_t row);
    bool empty() const { return m_count == 0; }
    std::int64_t size() const { return m_count; }
    // The first row after `after`, else the first of all; -1 when there is none.
    std::int64_t NextAfter(std::int64_t after) const;

private:
    std::int64_t FirstFrom(std::int64_t row) const;
    std::vector<std::uint64_t> m_bits;
    std::int64_t m_count = 0;
};

struct RowProblems : RowTally {
    CRowSet rows;
    std::string single;
};

// A problem as the status bar says it: "refused: ...", "empty line", "reads as "..."" or
// "not one symbol: ..."; empty when the row matches.
std::string RowProblemNote(const RowCheck& check);
class QAction;
class QPrinter;

// The barcode view: its own settings, one encoder per symbology family, two
// fonts, and the rows it draws on the screen, in previews and on paper.
class CTavikView : public CScrollView {
public:
    explicit CTavikView(QWidget* parent = nullptr);
    ~CTavikView() override;

    // Where the view reports its status: a status-bar pane by name, its text and
    // whether it shows. The frame sets it; without one the view reports nothing.
    using StatusReport = std::function<void(const QString& pane, const QString& text, bool shown)>;
    void SetStatusReport(StatusReport report) { m_statusReport = std::move(report); }
    // The Settings and Page Layout dialogs the view opens; without them it opens none.
    void SetDialogs(ViewDialogs dialogs) { m_dialogs = std::move(dialogs); }

    void OnInitialUpdate() override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnDraw(CDC* pDC) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // On a label sheet (m_settings.m_labels) the page is the sheet's.
    void PreparePrinter(QPrinter& printer) override;
    // The page-fit check and the refused rows, as tavik-batch reports them.
    QString CheckPrintable(const QPrinter& printer) override;
    // Print and Print to File off this thread, with progress and Cancel.
    PrintResult PrintPages(QPrinter& printer) override;
    bool ReportPrintGaps(const QPrinter& printer,
                         const std::function<void(const QString&)>& report) override;
    int BarReduction() const override { return m_settings.m_print.barReduction; }

    // Encodes text with the symbology of the settings; false when refused. What an
    // encoder throws is told to the user in a message box (the Settings command's).
    bool EncodeText(std::string text);
    // One row with its top-left corner at (x, y).
    void DrawBarcode(CDC* pDC, int x, int y, std::string_view text);

    // The Settings command: a double click anywhere in the view, or Show
    // Settings, opens the Settings dialog on m_settings and applies it.
    void OnShowSettings();
    void OnLButtonDblClk(UINT nFlags, QPoint point) override;
    // Page Layout: the sizes on paper (X, bar height, PDF resolution, bar
    // reduction) in the Page Layout dialog; after OK the view follows them.
    void OnPageLayout(QWidget* parent = nullptr);
    // Dragging the origin, or in lines mode the bars' bottom edge.
    void OnLButtonDown(UINT nFlags, QPoint point) override;
    void OnMouseMove(UINT nFlags, QPoint point) override;
    void OnLButtonUp(UINT nFlags, QPoint point) override;

    // Copy: the whole drawing on the clipboard as an image and as SVG.
    void OnEditCopy();
    // Export...: asks for a PNG, SVG or PDF file and writes the drawing there.
    void OnFileExport();
    // Writes the drawing to path (PDF: the printed pages); asks before
    // replacing a file, refuses the opened text file; false with a message.
    bool ExportTo(const QString& path);
    // Why path must not be written: it is a file the program reads (an open
    // list); empty when it may be.
    QString WriteRefusal(const QString& path) const;
    // Whether an export, print or copy of this view is running.
    bool IsJobRunning() const { return m_pJob != nullptr; }
    // Enables the context menu's actions by what they can do now.
    void UpdateViewActions();
    // F8: scrolls to the next refused or differing row after the top row.
    void OnNextProblemRow();
    // The status-bar pane's text: "N lines[, M refused[, K differ]]", or for a
    // single text what is wrong with it.
    QString RowCheckText() const;
    const RowProblems& Problems() const { return m_problems; }

    // Vertical distance between row tops on this surface (may be 0 or less).
    int RowPitch(CDC* pDC) const;
    // What a pass over the rows works from: copies of the settings and fonts.
    RowPassInput PassInput() const;
    // The layout and drawing over this view's settings, fonts and encoders.
    CRowRenderer Renderer() const;
    // A copy of what the rows are drawn from, for drawing them off this thread.
    std::unique_ptr<CRowSnapshot> Snapshot() const;
    // The encoder that serves a BarcodeType, or null.
    CBarcodeBase* EncoderFor(int type);
    // The view's encoders; m_code39 to m_i2of5 are theirs.
    EncoderSet& Encoders() { return m_encoders; }
    const EncoderSet& Encoders() const { return m_encoders; }
    // The right edge of the widest row drawn anywhere in the list, as the last
    // complete row pass measured it; INT64_MIN when none was measured or drawn.
    std::int64_t DrawnRight() const;

    // The scroll sizes of the layout: rows x pitch + y high, and as wide as the
    // text-length estimate or the widest measured row plus x, whichever is more.
    // Arrows step one row pitch.
    void SetLayoutScrollSizes();
    // Starts a pass over every row, off this thread (without a list the one
    // text is measured at once); until it is done the estimate stands.
    void StartRowPass();
    // The same pass on this thread, finished before it returns.
    void RunRowPassNow();
    // Adds a job to every later row pass: make gives a fresh visitor per pass.
    using RowVisitorMaker = std::function<std::unique_ptr<CRowVisitor>()>;
    void AddRowVisitor(RowVisitorMaker make) { m_rowVisitors.push_back(std::move(make)); }
    bool IsRowPassRunning() const { return m_rowPass.IsRunning(); }
    // Stops a running pass; its visitors finish nothing.
    void CancelRowPass() { m_rowPass.Cancel(); }

    bool m_bMovingOrigin = false;
    bool m_bResizingHeight = false;
    std::string m_strScratch;
    CFont m_fontText;
    CFont m_fontBarcode;
    CPrintInfo* m_pPrintInfo = nullptr;

private:
    EncoderSet m_encoders;

public:
    CBarcode39& m_code39 = m_encoders.code39;
    CBarcode93& m_code93 = m_encoders.code93;
    CBarcode128& m_code128 = m_encoders.code128;
    CBarcodeEan13& m_ean13 = m_encoders.ean13;
    CBarcodeI2of5& m_i2of5 = m_encoders.i2of5;
    BarcodeSettings m_settings;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void OnZoomChanged() override;
    // A pass over the rows, and a job, read the document's lines: they stop first.
    void OnDocumentLeaving() override;

private:
    // After an accepted Settings OK: scroll sizes, title, fonts, offsets.
    void ApplySettings();
    // Scroll sizes of the Settings command and the drags, rows of height tall.
    void SetSettingsScrollSizes(int height);

    void CreateViewActions();
    bool HasDrawing() const;
    void ShowZoom();
    void AddRowCheck();
    void ShowRowCheck();
    std::unique_ptr<QPrinter> ExportPrinter() const;
    // Why the bar reduction cannot be printed on printer; empty when it can.
    std::string BarReductionRefusal(const QPrinter& printer) const;
    // What a job off this thread came to.
    struct JobOutcome {
        bool ran = false;       // false: another job was running (the user was told)
        bool cancelled = false; // by Cancel, or the view went away meanwhile
        bool viewGone = false;  // nothing of the view may be used after it
        QString error;          // why it failed; empty when it succeeded
    };
    // Runs work on a thread of its own while this thread shows its progress;
    // one job at a time per view.
    // True, after saying so, when a job of this view is running.
    bool RefuseSecondJob() const;
    JobOutcome RunJob(const QString& title, const QString& label, const QString& units,
                      std::function<QString(CBackgroundJob&)> work);
    QString PromptExportFileName();

    // Encodes text with the encoder of the settings' symbology, emptied first; what an
    // encoder throws goes through. A row being drawn takes that as a refusal.
    bool EncodeUnguarded(std::string_view text);
    bool EncodeRow(std::string_view text);
    CRowPass::Visitors MakeVisitors();
    void OnRowsMeasured(std::int64_t widest);
    // Widest row beyond the origin from the last complete pass; INT64_MIN: none.
    std::int64_t m_nRowsWidth = std::numeric_limits<std::int64_t>::min();
    std::vector<RowVisitorMaker> m_rowVisitors;
    CRowPass m_rowPass;
    QAction* m_actCopy = nullptr;
    QAction* m_actExport = nullptr;
    QAction* m_actZoomIn = nullptr;
    QAction* m_actZoomOut = nullptr;
    QAction* m_actActualSize = nullptr;
    QAction* m_actSettings = nullptr;
    QAction* m_actPageLayout = nullptr;
    QAction* m_actNextProblem = nullptr;
    RowProblems m_problems;
    bool m_checkRows = false;         // in a window: every pass checks the rows too
    CBackgroundJob* m_pJob = nullptr; // the running job, owned by its caller
    StatusReport m_statusReport;
    ViewDialogs m_dialogs;
};
