#include "AboutDlg.h"

#include "Resource.h"
#include "Resources.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Dialog units: a quarter of the font's average character width across, an
// eighth of its height down.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& fm)
        : m_cx(qRound(fm.horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                      52.0)),
          m_cy(fm.height()) {}
    int X(int units) const { return units * m_cx / 4; }
    int Y(int units) const { return units * m_cy / 8; }
    QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }

private:
    int m_cx;
    int m_cy;
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits du(fontMetrics());
    setWindowTitle(QStringLiteral("About Tavik"));
    setFixedSize(du.X(235), du.Y(137));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("IDR_MAINFRAME"));
    icon->setPixmap(AfxGetResources().LoadIcon(IDR_MAINFRAME).pixmap(32, 32));
    icon->setGeometry(du.X(11), du.Y(17), 32, 32);

    auto* version = new QLabel(QStringLiteral("Tavik Version 2.0"), this);
    version->setObjectName(QStringLiteral("IDC_STATIC"));
    version->setGeometry(du.Rect(59, 10, 95, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setGeometry(du.Rect(178, 6, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
