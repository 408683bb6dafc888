#ifndef WDLC_POCATALOG_H
#define WDLC_POCATALOG_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A gettext PO file of singular messages, as translators' tools read and
// write it: the header entry's fields, then one message per context.
class PoCatalog
{
public:
    struct Message
    {
        QString context;
        QString id;
        QString str;
        bool fuzzy = false;
        // The "#| msgid" of a fuzzy message; null without one.
        QString previousId;
        // The line of its msgctxt or msgid.
        int line = 0;
    };

    // Reads a UTF-8 PO file. Plural forms, a message without msgstr, a
    // context given twice and syntax errors are refused with error() and
    // errorLine(). Obsolete ("#~") messages are skipped.
    bool read(const QByteArray &data);
    QString error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

    // The header's fields in their order, and one by name (null if absent).
    const QList<QPair<QString, QString>> &header() const { return m_header; }
    QString headerField(const QString &name) const;
    const QList<Message> &messages() const { return m_messages; }

    void setComment(const QString &comment) { m_comment = comment; }
    void addHeaderField(const QString &name, const QString &value) { m_header.append({name, value}); }
    void addMessage(const Message &message) { m_messages.append(message); }
    // The file: the comment, the header entry, then every message; strings
    // with line breaks are written one line per line, as msgmerge does.
    QByteArray toUtf8() const;

    // A text as a PO string's content: backslash escapes for the backslash,
    // the double quote and control characters.
    static QString escape(const QString &text);

private:
    bool fail(const QString &message, int line);

    QString m_comment;
    QList<QPair<QString, QString>> m_header;
    QList<Message> m_messages;
    QString m_error;
    int m_errorLine = 0;
};

#endif
