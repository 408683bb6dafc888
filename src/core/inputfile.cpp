#include "core/inputfile.h"

#include <QFile>
#include <QFileInfo>

bool InputFile::open(QFile &file)
{
    const QFileInfo info(file.fileName());
    if (!info.isFile() || info.size() > kMaxSize)
        return false;
    return file.open(QIODevice::ReadOnly);
}
