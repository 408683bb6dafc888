#include "output/pocatalog.h"

#include "base/utf8lines.h"

#include <QHash>
#include <QStringList>

#include <cctype>

namespace {

// Reads the quoted string at the start of text (blanks before it allowed),
// resolving gettext's escapes into bytes; nothing but blanks may follow.
bool readString(const QByteArray &text, QByteArray *out, QString *error)
{
    int i = 0;
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
        ++i;
    if (i >= text.size() || text.at(i) != '"') {
        *error = QStringLiteral("A quoted string was expected here.");
        return false;
    }
    ++i;
    for (;;) {
        if (i >= text.size()) {
            *error = QStringLiteral("The string is not closed on this line.");
            return false;
        }
        const char c = text.at(i++);
        if (c == '"')
            break;
        if (c != '\\') {
            out->append(c);
            continue;
        }
        if (i >= text.size()) {
            *error = QStringLiteral("The string is not closed on this line.");
            return false;
        }
        const char e = text.at(i++);
        static const char simple[] = "n\nt\tr\ra\ab\bf\fv\v\\\\\"\"";
        const char *hit = nullptr;
        for (const char *s = simple; *s; s += 2) {
            if (*s == e)
                hit = s;
        }
        if (hit) {
            out->append(hit[1]);
        } else if (e >= '0' && e <= '7') {
            int value = e - '0';
            for (int n = 1; n < 3 && i < text.size() && text.at(i) >= '0' && text.at(i) <= '7'; ++n)
                value = value * 8 + (text.at(i++) - '0');
            out->append(char(value));
        } else if (e == 'x' && i < text.size() && isxdigit(uchar(text.at(i)))) {
            int value = 0;
            while (i < text.size() && isxdigit(uchar(text.at(i))))
                value = (value * 16 + QByteArray(1, text.at(i++)).toInt(nullptr, 16)) & 0xFF;
            out->append(char(value));
        } else {
            *error = QStringLiteral("Unknown escape sequence \\") + QChar::fromLatin1(e)
                     + QStringLiteral(" in a string.");
            return false;
        }
    }
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t' || text.at(i) == '\r'))
        ++i;
    if (i < text.size()) {
        *error = QStringLiteral("Text follows the end of the string.");
        return false;
    }
    return true;
}

QString quoted(const QString &text, const QString &linePrefix)
{
    // One line per line of the text, as msgmerge writes them, when the text
    // holds a line break before its end.
    const int firstBreak = text.indexOf(QLatin1Char('\n'));
    if (firstBreak < 0 || firstBreak == text.size() - 1)
        return QLatin1Char('"') + PoCatalog::escape(text) + QLatin1Char('"');
    QString out = QStringLiteral("\"\"");
    int from = 0;
    while (from < text.size()) {
        int to = text.indexOf(QLatin1Char('\n'), from);
        to = to < 0 ? text.size() : to + 1;
        out += QLatin1Char('\n') + linePrefix + QLatin1Char('"') + PoCatalog::escape(text.mid(from, to - from))
               + QLatin1Char('"');
        from = to;
    }
    return out;
}

} // namespace

QString PoCatalog::escape(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QLatin1Char('\\') + QString::number(c.unicode(), 8).rightJustified(3, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString PoCatalog::headerField(const QString &name) const
{
    for (const auto &field : m_header) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0)
            return field.second;
    }
    return QString();
}

bool PoCatalog::fail(const QString &message, int line)
{
    m_error = message;
    m_errorLine = line;
    m_header.clear();
    m_messages.clear();
    return false;
}

bool PoCatalog::read(const QByteArray &data)
{
    m_header.clear();
    m_messages.clear();
    if (const int line = firstLineNotUtf8(data))
        return fail(QStringLiteral("The file is not UTF-8: this line holds bytes that are no UTF-8 text."), line);

    // The message being read; its strings as bytes until it is complete.
    struct Pending
    {
        bool hasContext = false, hasId = false, hasStr = false;
        QByteArray context, id, str;
        int line = 0;
    } pending;
    QByteArray *last = nullptr;
    bool fuzzy = false;
    bool hasPrevious = false;
    QByteArray previous;
    bool inPrevious = false;
    QHash<QString, int> seen;
    QString error;

    const auto finish = [&]() -> bool {
        const bool isHeader = !pending.hasContext && pending.id.isEmpty();
        Message m;
        // An empty context is a context all the same.
        if (pending.hasContext)
            m.context = pending.context.isEmpty() ? QStringLiteral("") : QString::fromUtf8(pending.context);
        m.id = QString::fromUtf8(pending.id);
        m.str = QString::fromUtf8(pending.str);
        m.fuzzy = fuzzy;
        m.previousId = hasPrevious ? QString::fromUtf8(previous) : QString();
        m.line = pending.line;
        pending = Pending();
        last = nullptr;
        fuzzy = false;
        hasPrevious = false;
        previous.clear();
        inPrevious = false;
        if (isHeader) {
            for (const QString &field : m.str.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                const int colon = field.indexOf(QLatin1Char(':'));
                if (colon > 0)
                    m_header.append({field.left(colon).trimmed(), field.mid(colon + 1).trimmed()});
            }
            const QString type = headerField(QStringLiteral("Content-Type"));
            const int at = type.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
            const QString charset = at < 0 ? QString() : type.mid(at + 8).trimmed();
            if (!charset.isEmpty() && charset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0
                && charset != QLatin1String("CHARSET"))
                return fail(QStringLiteral("The file declares the charset ") + charset
                                + QStringLiteral("; PO files are read as UTF-8."),
                            m.line);
            return true;
        }
        const QString key = m.context + QChar(4) + m.id;
        if (seen.contains(key))
            return fail(QStringLiteral("This message is given twice; the first is on line ")
                            + QString::number(seen.value(key)) + QLatin1Char('.'),
                        m.line);
        seen.insert(key, m.line);
        m_messages.append(m);
        return true;
    };

    const QList<QByteArray> lines = data.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const int lineNumber = n + 1;
        const QByteArray line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith("#~"))
            continue;
        if (line.startsWith('#')) {
            // Comments belong to the message that follows them.
            if (pending.hasStr && !finish())
                return false;
            if (line.startsWith("#,")) {
                for (const QByteArray &flag : line.mid(2).split(','))
                    fuzzy = fuzzy || flag.trimmed() == "fuzzy";
            } else if (line.startsWith("#|")) {
                const QByteArray rest = line.mid(2).trimmed();
                QByteArray part;
                if (rest.startsWith("msgid ") || rest.startsWith("msgid\"")) {
                    if (!readString(rest.mid(5), &part, &error))
                        return fail(error, lineNumber);
                    hasPrevious = true;
                    inPrevious = true;
                    previous = part;
                } else if (rest.startsWith('"') && inPrevious) {
                    if (!readString(rest, &part, &error))
                        return fail(error, lineNumber);
                    previous += part;
                } else {
                    inPrevious = false;
                }
            }
            continue;
        }
        QByteArray part;
        if (line.startsWith('"')) {
            if (!last)
                return fail(QStringLiteral("This string continues no msgctxt, msgid or msgstr."), lineNumber);
            if (!readString(line, &part, &error))
                return fail(error, lineNumber);
            last->append(part);
            continue;
        }
        int end = 0;
        while (end < line.size() && line.at(end) != ' ' && line.at(end) != '\t' && line.at(end) != '"')
            ++end;
        const QByteArray keyword = line.left(end);
        if (keyword == "msgid_plural" || keyword.startsWith("msgstr["))
            return fail(QStringLiteral("Plural forms are not supported: a text of a wizard has one form."), lineNumber);
        if (keyword != "msgctxt" && keyword != "msgid" && keyword != "msgstr")
            return fail(QStringLiteral("Unknown keyword ") + QString::fromUtf8(keyword)
                            + QStringLiteral("; a message has msgctxt, msgid and msgstr."),
                        lineNumber);
        if (!readString(line.mid(end), &part, &error))
            return fail(error, lineNumber);
        if (keyword == "msgstr") {
            if (!pending.hasId || pending.hasStr)
                return fail(QStringLiteral("This msgstr follows no msgid."), lineNumber);
            pending.hasStr = true;
            pending.str = part;
            last = &pending.str;
            continue;
        }
        // msgctxt or msgid: a message ends where the next one starts.
        if (pending.hasStr && !finish())
            return false;
        if (pending.hasId)
            return fail(QStringLiteral("This message has no msgstr."), pending.line);
        if (keyword == "msgctxt") {
            if (pending.hasContext)
                return fail(QStringLiteral("This message has no msgid."), pending.line);
            pending.hasContext = true;
            pending.context = part;
            pending.line = lineNumber;
            last = &pending.context;
        } else {
            if (!pending.hasContext)
                pending.line = lineNumber;
            pending.hasId = true;
            pending.id = part;
            last = &pending.id;
        }
    }
    if (pending.hasStr)
        return finish();
    if (pending.hasContext || pending.hasId)
        return fail(QStringLiteral("This message has no msgstr."), pending.line);
    return true;
}

QByteArray PoCatalog::toUtf8() const
{
    QString out;
    for (const QString &line : m_comment.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out += QStringLiteral("# ") + line + QLatin1Char('\n');
    QString header;
    for (const auto &field : m_header)
        header += field.first + QStringLiteral(": ") + field.second + QLatin1Char('\n');
    out += QStringLiteral("msgid \"\"\nmsgstr ") + quoted(header, QString()) + QLatin1Char('\n');
    for (const Message &m : m_messages) {
        out += QLatin1Char('\n');
        if (m.fuzzy)
            out += QStringLiteral("#, fuzzy\n");
        if (!m.previousId.isNull())
            out += QStringLiteral("#| msgid ") + quoted(m.previousId, QStringLiteral("#| ")) + QLatin1Char('\n');
        if (!m.context.isNull())
            out += QStringLiteral("msgctxt ") + quoted(m.context, QString()) + QLatin1Char('\n');
        out += QStringLiteral("msgid ") + quoted(m.id, QString()) + QLatin1Char('\n');
        out += QStringLiteral("msgstr ") + quoted(m.str, QString()) + QLatin1Char('\n');
    }
    return out.toUtf8();
}
