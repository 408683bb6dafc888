#ifndef WDLC_TRANSLATIONDOCUMENT_H
#define WDLC_TRANSLATIONDOCUMENT_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// A translation file as its maintainers see it: the entries, translated or
// waiting or obsolete, with the English each was made from, and the file's own
// text around them. Edits rewrite only the entries they touch, so that the
// translator's comments, layout and escapes stay as written.
//
// Only "text" entries reach the compiler. Waiting and obsolete entries use
// element names it ignores, and the English and the stale mark are attributes
// of "text" that it does not read.
class TranslationDocument
{
public:
    enum Kind { Translated, Untranslated, Obsolete };

    struct Entry
    {
        Kind kind = Translated;
        // Null when the element has no such attribute.
        QString id;
        QString type;
        // The English the translation was made from.
        QString source;
        // The English the translation was made from when it has changed
        // since: present while the translation waits for review.
        QString stale;
        // The element's content as the XML reader gives it.
        QString content;
        int line = 0;
    };

    // Reads a UTF-8 translation file. On failure error() and errorLine()
    // say why; the document is then empty.
    bool read(const QByteArray &data);
    QString error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

    // The language attribute of the first "translations" element; null
    // without one.
    QString language() const { return m_language; }
    const QList<Entry> &entries() const { return m_entries; }

    // Edits, applied by toUtf8(). Indexes are those of entries() as read.
    void setEntry(int index, const Entry &entry) { m_entries[index] = entry; }
    void removeEntry(int index) { m_removed[index] = true; }
    bool isRemoved(int index) const { return m_removed.at(index); }
    // Adds a new entry after the entry at index, or before the first entry
    // (into an empty "translations" element) for -1. Entries added at one
    // place keep the order they were added in.
    void insertEntry(int afterIndex, const Entry &entry) { m_inserted[afterIndex].append(entry); }
    bool canInsert() const { return m_insertAt >= 0 || !m_entries.isEmpty(); }

    // The file with the edits applied.
    QByteArray toUtf8() const;

    // The element name of a kind.
    static QString kindName(Kind kind);
    // A text as attribute value or content: the XML reserved characters and
    // % as the template writes them, and in attributes line breaks and tabs
    // as character references, which XML would otherwise turn into blanks.
    static QString escapeAttribute(const QString &text);
    static QString escapeContent(const QString &text);

private:
    // Where an entry lies in m_text: its start tag [begin, tagEnd), its raw
    // content up to contentEnd, and its end tag up to end.
    struct Span
    {
        int begin = 0;
        int tagEnd = 0;
        int contentEnd = 0;
        int end = 0;
    };

    bool fail(const QString &message, int line);
    QString renderEdited(int index) const;
    QString indentOf(int position) const;

    QString m_text;
    bool m_hasByteOrderMark = false;
    QString m_language;
    // Where entries go in a "translations" element that has none: the start
    // of its end tag; -1 when there is no such element.
    int m_insertAt = -1;
    QList<Entry> m_entries;
    QList<Entry> m_read;
    QList<Span> m_spans;
    QList<bool> m_removed;
    QMap<int, QList<Entry>> m_inserted;
    QString m_error;
    int m_errorLine = 0;
};

#endif
