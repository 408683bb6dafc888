#ifndef WDLC_LEREADER_H
#define WDLC_LEREADER_H

#include <QByteArray>
#include <QtGlobal>

// Reads little-endian numbers out of a byte array without ever reading past
// its end. A read that does not fit returns 0, leaves the position where it was
// and marks the reader as failed; `failedAt` tells the offset of that first
// failed read, so that callers can name it in their message.
// Header-only, like LeWriter, so that the codec library can use it.
class LeReader
{
public:
    explicit LeReader(const QByteArray &data, int start = 0) : m_data(data), m_pos(start) {}

    bool ok() const { return m_failedAt < 0; }
    int failedAt() const { return m_failedAt; }
    int pos() const { return m_pos; }
    int size() const { return m_data.size(); }
    int remaining() const { return m_data.size() - m_pos; }
    bool has(qint64 n) const { return n >= 0 && m_pos >= 0 && qint64(m_pos) + n <= m_data.size(); }
    void seek(int pos) { m_pos = pos; }

    quint8 u8() { return quint8(take(1)); }
    quint16 u16() { return quint16(take(2)); }
    qint16 i16() { return qint16(u16()); }
    quint32 u32() { return quint32(take(4)); }
    qint32 i32() { return qint32(u32()); }
    QByteArray bytes(int n)
    {
        if (!has(n)) {
            fail();
            return QByteArray();
        }
        const QByteArray out = m_data.mid(m_pos, n);
        m_pos += n;
        return out;
    }
    void skip(int n)
    {
        if (!has(n)) {
            fail();
            return;
        }
        m_pos += n;
    }

    // Reads at an absolute offset without moving; `ok` is cleared when it does not fit.
    static quint16 u16At(const QByteArray &data, qint64 at, bool *ok) { return quint16(valueAt(data, at, 2, ok)); }
    static quint32 u32At(const QByteArray &data, qint64 at, bool *ok) { return quint32(valueAt(data, at, 4, ok)); }

private:
    static quint64 valueAt(const QByteArray &data, qint64 at, int n, bool *ok)
    {
        if (at < 0 || at + n > data.size()) {
            if (ok)
                *ok = false;
            return 0;
        }
        quint64 v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | quint8(data[int(at) + i]);
        if (ok)
            *ok = true;
        return v;
    }

    quint64 take(int n)
    {
        bool fits = false;
        const quint64 v = valueAt(m_data, m_pos, n, &fits);
        if (!fits) {
            fail();
            return 0;
        }
        m_pos += n;
        return v;
    }
    void fail()
    {
        if (m_failedAt < 0)
            m_failedAt = m_pos;
    }

    QByteArray m_data; // implicitly shared: a copy costs nothing
    int m_pos;
    int m_failedAt = -1;
};

#endif
