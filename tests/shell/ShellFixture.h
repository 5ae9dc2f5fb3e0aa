#pragma once

// A started Tavik application on the offscreen platform, with message boxes
// recorded, the test-mode settings emptied first and helpers to read menus.
#include "DocTemplate.h"
#include "MDIFrameWnd.h"
#include "MessageBox.h"
#include "TavikApp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Settings of this test program's own: test programs run side by side.
        static const QTemporaryDir settings;
        ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings("Korvalin", "Tavik").clear();
        SetMessageBoxHandler([this](const QString& text) { messages.append(text); });
    }

    void TearDown() override {
        Stop();
        SetMessageBoxHandler({});
        QApplication::processEvents();
    }

    // Starts the application as the command line args (after "tavik") asks.
    bool Start(const QStringList& args = {}) {
        app = std::make_unique<CTavikApp>(QStringList{QStringLiteral("tavik")} + args);
        const bool started = app->InitInstance();
        frame = app->GetMainFrame();
        return started;
    }

    void Stop() {
        if (app != nullptr) {
            app->ExitInstance();
            app.reset();
        }
        frame = nullptr;
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QAction* Action(const char* name) const { return frame->findChild<QAction*>(name); }

    void Command(UINT id) const { frame->OnCommand(id); }

    std::size_t DocumentCount() const { return app->GetDocTemplate()->GetDocuments().size(); }

    // The titles of the menu bar's menus.
    QStringList MenuTitles() const {
        QStringList titles;
        for (const QAction* a : frame->menuBar()->actions()) {
            titles.append(a->text());
        }
        return titles;
    }

    // The items of one menu, "-" for a separator.
    QStringList MenuItems(const QString& title) const {
        QStringList items;
        for (const QAction* a : frame->menuBar()->actions()) {
            if (a->text() == title && a->menu() != nullptr) {
                for (const QAction* item : a->menu()->actions()) {
                    items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
                }
            }
        }
        return items;
    }

    // Runs check on the next modal window once action opens it, then closes it.
    static void WithModal(const std::function<void(QWidget*)>& check,
                          const std::function<void()>& action) {
        bool ran = false;
        QObject guard; // drops the check if no modal window ever ran it
        QTimer::singleShot(0, &guard, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                check(modal);
                modal->close();
            }
            ran = true;
        });
        action();
        EXPECT_TRUE(ran);
    }

    QTemporaryDir dir;
    QStringList messages;
    std::unique_ptr<CTavikApp> app;
    CMDIFrameWnd* frame = nullptr;
};
