#ifndef WDLC_DUMPCOMMAND_H
#define WDLC_DUMPCOMMAND_H

#include <QHash>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

class QTextStream;
class WdlWizard;
struct SasImage;

// `wdltool dump [--json] [--wdl <wdl>] <sas>`: an image section by section,
// for a person or, as one JSON document, for a program; with the wizard it
// was built from, every numbered thing also by its author's id and line.
class DumpCommand
{
public:
    // The author's names of the items an image numbers, like a linker's map.
    class Names
    {
    public:
        struct Name
        {
            QString id;
            // "pump.wdl:41": the file as warnings name it, and the line.
            QString source;
        };

        // The items of the wizard as loaded; where two items of one kind
        // share a number, the first keeps it.
        static Names of(WdlWizard *wizard);
        // Null when the wizard has no item of that kind and number.
        const Name *find(const QString &kind, quint16 number) const;

    private:
        QHash<QString, Name> m_names;
    };

    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    static QString text(const SasImage &image, const QString &path, const Names *names = nullptr);
    static QJsonDocument json(const SasImage &image, const QString &path, const Names *names = nullptr);
};

#endif
