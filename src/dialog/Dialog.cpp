#include "Dialog.h"

#include "MulDiv.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>

// The average width is measured over the 52 letters and rounded, as the
// platform's dialog manager does.
CDialogUnits::CDialogUnits(const QFontMetrics& fm)
    : m_baseX((fm.horizontalAdvance(
                   QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                   26 +
               1) /
              2),
      m_baseY(fm.height()) {}

int CDialogUnits::X(int units) const {
    return MulDiv(units, m_baseX, 4);
}

int CDialogUnits::Y(int units) const {
    return MulDiv(units, m_baseY, 8);
}

QRect CDialogUnits::MapDialogRect(int x, int y, int cx, int cy) const {
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + cx) - left, Y(y + cy) - top);
}

QFont ShellDialogFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    return font;
}

CDialog::CDialog(QWidget* pParentWnd)
    : QDialog(pParentWnd != nullptr ? pParentWnd : QApplication::activeWindow()) {}

int CDialog::DoModal() {
    if (OnInitDialog()) {
        SetInitialFocus();
    }
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CDialog::OnInitDialog() {
    DoDataExchange();
    return true;
}

void CDialog::SetInitialFocus() {
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(this) &&
            (w->focusPolicy() & Qt::TabFocus) != 0) {
            w->setFocus(Qt::TabFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->selectAll();
            }
            return;
        }
    }
}

void CDialog::RedrawWindow() {
    repaint();
}

void CDialog::OnOK() {
    QDialog::accept();
}

void CDialog::OnCancel() {
    QDialog::reject();
}
