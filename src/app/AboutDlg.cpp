#include "AboutDlg.h"

#include "Resource.h"
#include "Resources.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(parent) {
    setWindowTitle(QStringLiteral("About Tavik"));
    setFont(ShellDialogFont(8));
    const CDialogUnits du(fontMetrics());
    setFixedSize(du.X(235), du.Y(137));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("IDR_MAINFRAME"));
    icon->setPixmap(AfxGetResources().LoadIcon(IDR_MAINFRAME).pixmap(32, 32));
    icon->setGeometry(du.X(11), du.Y(17), 32, 32);

    auto* version = new QLabel(QStringLiteral("Tavik Version 2.0"), this);
    version->setObjectName(QStringLiteral("IDC_STATIC"));
    version->setGeometry(du.MapDialogRect(59, 10, 95, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setGeometry(du.MapDialogRect(178, 6, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
}
