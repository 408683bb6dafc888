#ifndef WDLC_OUTPUTFILE_H
#define WDLC_OUTPUTFILE_H

#include <QByteArray>
#include <QString>

// Writes one file whole or not at all: every byte count and the final commit
// are checked, and on any failure the file that was there stays as it was.
// The files the tools write go through here.
class OutputFile
{
public:
    // False when path could not be written; error then says why.
    static bool write(const QString &path, const QByteArray &data, QString *error);
};

#endif
