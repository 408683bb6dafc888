#include "output/xmlattributelimit.h"

#include <QTextCodec>

namespace {

// Walks the markup of a document given as code units (bytes of an encoding
// that keeps ASCII as it is, or UTF-16 units): text, comments, CDATA,
// processing instructions and declarations are skipped, and the attributes
// of each start tag counted by their "=" outside quotes.
template<class Unit> class MarkupScan
{
public:
    MarkupScan(const Unit *data, int size) : m_data(data), m_size(size) {}

    int crowdedLine()
    {
        while (m_at < m_size) {
            if (at(0) != '<') {
                step();
                continue;
            }
            const int line = m_line;
            if (startsWith("<!--"))
                skipPast("-->");
            else if (startsWith("<![CDATA["))
                skipPast("]]>");
            else if (startsWith("<?"))
                skipPast("?>");
            else if (startsWith("<!"))
                skipDeclaration();
            else if (tagAttributes() > XmlAttributeLimit::kMaxAttributes)
                return line;
        }
        return 0;
    }

private:
    int at(int offset) const { return m_at + offset < m_size ? int(m_data[m_at + offset]) : -1; }

    // XML ends a line at LF, CR LF or a lone CR.
    void step()
    {
        if (at(0) == '\n' || (at(0) == '\r' && at(1) != '\n'))
            ++m_line;
        ++m_at;
    }

    bool startsWith(const char *text) const
    {
        for (int i = 0; text[i]; ++i) {
            if (at(i) != text[i])
                return false;
        }
        return true;
    }

    void skipPast(const char *end)
    {
        while (m_at < m_size && !startsWith(end))
            step();
        for (int i = 0; end[i] && m_at < m_size; ++i)
            step();
    }

    // <!DOCTYPE ... [ <!ENTITY ...> ... ]>: up to the ">" outside quotes and
    // brackets.
    void skipDeclaration()
    {
        int depth = 0;
        int quote = 0;
        while (m_at < m_size) {
            const int c = at(0);
            step();
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                --depth;
            } else if (c == '>' && depth <= 0) {
                return;
            }
        }
    }

    // A start or end tag up to its ">"; the number of its attributes.
    int tagAttributes()
    {
        int count = 0;
        int quote = 0;
        step();
        while (m_at < m_size) {
            const int c = at(0);
            step();
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '=') {
                // Counting stops past the limit: the tag is refused anyway.
                if (++count > XmlAttributeLimit::kMaxAttributes)
                    return count;
            } else if (c == '>') {
                break;
            }
        }
        return count;
    }

    const Unit *m_data;
    int m_size;
    int m_at = 0;
    int m_line = 1;
};

// UTF-16 and UTF-32 show in their first bytes, as a byte order mark or as
// zero bytes beside the "<" that starts every document; null for an encoding
// that keeps ASCII as it is.
QTextCodec *wideCodec(const QByteArray &d)
{
    const auto zero = [&d](int i) { return d.size() > i && d.at(i) == 0; };
    const char *name = nullptr;
    if (d.startsWith("\xFE\xFF") || d.startsWith("\xFF\xFE") || d.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return QTextCodec::codecForUtfText(d);
    if (zero(0))
        name = zero(1) ? "UTF-32BE" : "UTF-16BE";
    else if (zero(1))
        name = zero(2) ? "UTF-32LE" : "UTF-16LE";
    return name ? QTextCodec::codecForName(name) : nullptr;
}

} // namespace

int XmlAttributeLimit::crowdedLine(const QByteArray &document)
{
    QTextCodec *codec = wideCodec(document);
    if (!codec)
        return MarkupScan<uchar>(reinterpret_cast<const uchar *>(document.constData()), document.size()).crowdedLine();
    const QString text = codec->toUnicode(document);
    return MarkupScan<ushort>(reinterpret_cast<const ushort *>(text.utf16()), text.size()).crowdedLine();
}

QString XmlAttributeLimit::message(const QString &fileName, int line)
{
    return QStringLiteral("XML file ") + fileName + QStringLiteral(" has an element with more than ")
           + QString::number(kMaxAttributes) + QStringLiteral(" attributes on line ") + QString::number(line)
           + QStringLiteral(". This file is not a translation file.");
}
