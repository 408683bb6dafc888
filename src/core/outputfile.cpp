#include "core/outputfile.h"

#include <QSaveFile>

bool OutputFile::write(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // A short count is not an error to QSaveFile: a full disk would otherwise
    // commit a cut file.
    if (file.write(data) != data.size()) {
        *error = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the write came up short");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
