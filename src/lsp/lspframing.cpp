#include "lsp/lspframing.h"

#include <QList>

namespace {

constexpr char kHeaderEnd[] = "\r\n\r\n";
constexpr int kHeaderEndSize = 4;

// The value of Content-Length (the name in any letter case), or -1 when the
// header holds none or one that is no length.
qint64 contentLength(const QByteArray &header)
{
    qint64 length = -1;
    for (const QByteArray &line : header.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qint64 value = line.mid(colon + 1).trimmed().toLongLong(&ok, 10);
        length = ok && value >= 0 ? value : -1;
    }
    return length;
}

} // namespace

bool LspFraming::next(QByteArray *body)
{
    for (;;) {
        const int end = m_buffer.indexOf(kHeaderEnd);
        if (end < 0)
            return false;
        const qint64 length = contentLength(m_buffer.left(end));
        if (length < 0 || length > kMaxBody) {
            m_buffer.remove(0, end + kHeaderEndSize);
            ++m_dropped;
            continue;
        }
        const int start = end + kHeaderEndSize;
        if (m_buffer.size() - start < length)
            return false;
        *body = m_buffer.mid(start, int(length));
        m_buffer.remove(0, start + int(length));
        return true;
    }
}

QByteArray LspFraming::frame(const QByteArray &body)
{
    return QByteArrayLiteral("Content-Length: ") + QByteArray::number(body.size()) + kHeaderEnd + body;
}
