#pragma once

// Helpers for tests of modal dialogs and the view's commands: message boxes
// recorded instead of shown, and steps run inside a modal loop.
#include "MessageBox.h"
#include "support/MessageLog.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
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
