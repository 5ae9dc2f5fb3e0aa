#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

int AfxMessageBox(const QString& text, unsigned type) {
    return AfxMessageBox(text, QString(), type);
}

int AfxMessageBox(const QString& text, const QString& informative, unsigned /*type*/) {
    if (Handler()) {
        Handler()(informative.isEmpty() ? text : text + QLatin1Char('\n') + informative);
        return IDOK;
    }
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty()) {
        title = QStringLiteral("Tavik");
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(informative);
    box.exec();
    return IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}
