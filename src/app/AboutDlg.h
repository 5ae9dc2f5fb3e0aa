#pragma once

#include <QDialog>

// The About box: the program's icon, name and version, and OK.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    int DoModal() { return exec(); }
};
