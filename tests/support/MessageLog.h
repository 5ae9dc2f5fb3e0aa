#pragma once

#include "MessageBox.h"

#include <QString>

#include <vector>

// Records message boxes instead of showing them, for one test.
class MessageLog {
public:
    MessageLog() {
        m_previous = SetMessageBoxHandler([this](const QString& t) { texts.push_back(t); });
    }
    ~MessageLog() { SetMessageBoxHandler(std::move(m_previous)); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<QString> texts;

private:
    MessageBoxHandler m_previous;
};
