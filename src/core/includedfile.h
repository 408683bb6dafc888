#ifndef WDLC_INCLUDEDFILE_H
#define WDLC_INCLUDEDFILE_H

#include <QMap>
#include <QMetaType>
#include <QString>

// A CSIV file that a script names, to be carried inside the image.
struct IncludedFile
{
    // The name the file must carry inside itself.
    QString flashName;
    // Absolute path of the file.
    QString filePath;
};

// File number (the item number of the text holding the path) to file.
using IncludedFileMap = QMap<quint16, IncludedFile>;

Q_DECLARE_METATYPE(IncludedFile)
Q_DECLARE_METATYPE(IncludedFileMap)

#endif
