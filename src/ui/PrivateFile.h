#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Writes the file at `path` whole or not at all (QSaveFile), readable and writable by its owner
// only, also when it replaces a file others could read: `write` fills the device and says whether
// it could. False with Qt's reason in `error`; nothing is left at `path` then but what was there.
bool WritePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error);
