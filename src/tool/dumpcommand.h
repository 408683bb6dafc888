#ifndef WDLC_DUMPCOMMAND_H
#define WDLC_DUMPCOMMAND_H

#include <QJsonDocument>
#include <QString>
#include <QStringList>

class QTextStream;
struct SasImage;

// `wdltool dump [--json] <sas>`: an image section by section, for a person
// or, as one JSON document, for a program.
class DumpCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    static QString text(const SasImage &image, const QString &path);
    static QJsonDocument json(const SasImage &image, const QString &path);
};

#endif
