#ifndef WDLC_LSPFRAMING_H
#define WDLC_LSPFRAMING_H

#include <QByteArray>

// The base protocol's framing: header lines ("Content-Length: n" and others),
// an empty line, then n bytes of JSON. Bytes come in pieces of any size; whole
// messages come out. A header without a usable length is dropped with its
// blank line, so that one bad message costs only itself.
class LspFraming
{
public:
    // Bodies above this size are refused: their header is dropped and the
    // bytes that follow are read as headers again.
    static constexpr int kMaxBody = 64 * 1024 * 1024;

    void append(const QByteArray &bytes) { m_buffer.append(bytes); }
    // The next whole body; false when none is complete yet.
    bool next(QByteArray *body);
    // How many headers were dropped since the start.
    int droppedHeaders() const { return m_dropped; }
    // Bytes waiting for the rest of their message.
    int pending() const { return m_buffer.size(); }

    static QByteArray frame(const QByteArray &body);

private:
    QByteArray m_buffer;
    int m_dropped = 0;
};

#endif
