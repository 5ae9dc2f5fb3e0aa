#pragma once

#include <QString>

#include <functional>

constexpr unsigned MB_OK = 0;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// The application's modal message box: the text, an OK button, the
// application title as caption. Returns IDOK.
int AfxMessageBox(const QString& text, unsigned type = MB_OK);
// The same with a second, smaller text below it (the reason).
int AfxMessageBox(const QString& text, const QString& informative, unsigned type = MB_OK);

// Replaces the box (tests record messages instead of showing them; a box with
// an informative text gives both, a line apart); returns the previous handler.
// An empty handler restores the real box.
using MessageBoxHandler = std::function<void(const QString& text)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
