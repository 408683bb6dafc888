#ifndef WDLC_TRANSLATIONTEXTS_H
#define WDLC_TRANSLATIONTEXTS_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The translated texts beside a wizard, by text id, for showing a text in
// every language: read through the translation reader of the build, so that
// what is shown is what the image would carry. Files it refuses show nothing.
class TranslationTexts
{
public:
    struct Entry
    {
        QString language;
        QString text;
        QString help;
    };

    // Reads every translation file in directory for the texts of ids, when
    // the files changed since the last read or an id is new to it.
    void update(const QString &directory, const QStringList &ids);
    // The translations of one text, in the order of the files' names.
    QVector<Entry> of(const QString &id) const { return m_entries.value(id); }

private:
    QString m_directory;
    QString m_stamp;
    QHash<QString, QVector<Entry>> m_entries;
    QStringList m_ids;
};

#endif
