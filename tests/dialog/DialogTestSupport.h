#pragma once

// Helpers for tests of modal dialogs and the view's commands: message boxes
// recorded instead of shown, steps run inside a modal loop, and a shown view.
#include "BarcodeDialogs.h"
#include "MessageBox.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "support/MessageLog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

// Acts on the next modal dialog, of type T, once its modal loop runs; a
// dialog the step leaves open is cancelled, so a failing test cannot hang.
// At scope end the step must have run.
template <class T> class ModalStep {
public:
    explicit ModalStep(std::function<void(T&)> act) : m_act(std::move(act)) {
        QTimer::singleShot(0, &m_context, [this] { Run(); });
    }
    ~ModalStep() { EXPECT_TRUE(m_ran) << "no modal " << typeid(T).name() << " was shown"; }
    ModalStep(const ModalStep&) = delete;
    ModalStep& operator=(const ModalStep&) = delete;

private:
    void Run() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = dynamic_cast<T*>(modal);
        m_ran = true;
        if (dialog == nullptr) {
            ADD_FAILURE() << "the modal window is not a " << typeid(T).name();
            if (auto* other = qobject_cast<QDialog*>(modal)) {
                other->reject();
            }
            return;
        }
        m_act(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    QObject m_context;
    std::function<void(T&)> m_act;
    bool m_ran = false;
};

inline void Click(const QWidget& dlg, const char* name) {
    auto* b = dlg.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

inline void SetEdit(const QWidget& dlg, const char* name, const QString& text) {
    auto* e = dlg.findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(e, nullptr) << name;
    e->setText(text);
}

// A new document with one view, initialised and shown at 500 x 300; message
// boxes are recorded in log.
class ShownViewTest : public testing::Test {
protected:
    void SetUp() override {
        doc.OnNewDocument();
        OpenView();
    }

    void OpenView() {
        view = std::make_unique<CTavikView>();
        view->SetDialogs(BarcodeDialogs());
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->resize(500, 300);
        view->show();
        QApplication::processEvents();
    }

    BarcodeSettings& S() { return view->m_settings; }

    MessageLog log;
    CTavikDoc doc;
    std::unique_ptr<CTavikView> view;
};
