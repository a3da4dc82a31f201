#pragma once

#include <QString>

#include <functional>

// Every message box of the program goes through here. Tests install a handler that records the
// text and returns at once instead of showing a dialog.
using MessageBoxHandler = std::function<void(const QString& text)>;

// Shows `text` (CR LF starts a new line) in the modal box and returns once it is closed.
void ShowMessageBox(const QString& text);

// Replaces the real box; an empty handler brings it back. Returns the handler it replaced.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Runs before every box, so that work in progress (the creation run's progress bar) is painted
// before the box holds up the handler. An empty hook does nothing.
void SetBeforeMessageBoxHook(std::function<void()> hook);
