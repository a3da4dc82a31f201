#include "ui/PrivateFile.h"

#include <QSaveFile>

bool WritePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // The temporary file QSaveFile writes starts with the umask's mode (or that of the file it
    // replaces): owner only before the first byte goes in.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!write(file)) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
