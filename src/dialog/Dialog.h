#pragma once

#include "MessageBox.h" // IDOK, IDCANCEL

#include <QDialog>
#include <QFont>
#include <QRect>

class QFontMetrics;

// Dialog units of a dialog font: a quarter of its average character width
// across, an eighth of its character height down.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFontMetrics& fm);

    int X(int units) const;
    int Y(int units) const;
    // A template rectangle (x, y, width, height) in pixels.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};

// The platform's shell dialog font at a point size.
QFont ShellDialogFont(int pointSize);

// Modal dialog: DoModal runs OnInitDialog, then the modal loop, and returns
// IDOK or IDCANCEL. A dialog without a parent is owned by the active window.
class CDialog : public QDialog {
public:
    explicit CDialog(QWidget* pParentWnd = nullptr);

    int DoModal();

    // Binds the controls (DoDataExchange); true leaves the focus to the dialog.
    virtual bool OnInitDialog();
    virtual void DoDataExchange() {}

    // Invalidates, erases and repaints the dialog with its controls at once.
    void RedrawWindow();

    // Escape and the window's close button cancel.
    void reject() override { OnCancel(); }

protected:
    // The dialog manager's initial focus: the first enabled control with a
    // tab stop, an edit with its whole text selected.
    void SetInitialFocus();
    virtual void OnOK();
    virtual void OnCancel();
};
