#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

int AfxMessageBox(const QString& text, unsigned /*type*/) {
    if (Handler()) {
        Handler()(text);
        return IDOK;
    }
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty()) {
        title = QStringLiteral("Tavik");
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    return IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}
