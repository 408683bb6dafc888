#ifndef WDLC_LEWRITER_H
#define WDLC_LEWRITER_H

#include "base/hugepages.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// The one place where numbers become bytes. Every record, the image and the
// dictionary blob are written through it, least significant byte first.
// Header-only, so that the codec library can use it without linking the core.
//
// Each call may name its field; `annotatedDump` then prints one line per field
// ("offset: bytes ; field"), which makes a failing byte comparison readable.
class LeWriter
{
public:
    void u8(quint8 v, const char *field = nullptr)
    {
        note(1, field);
        m_data.append(char(v));
    }
    void u16(quint16 v, const char *field = nullptr)
    {
        note(2, field);
        const char b[2] = {char(v & 0xFF), char(v >> 8)};
        m_data.append(b, 2);
    }
    void i16(qint16 v, const char *field = nullptr) { u16(quint16(v), field); }
    void u32(quint32 v, const char *field = nullptr)
    {
        note(4, field);
        const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
        m_data.append(b, 4);
    }
    void i32(qint32 v, const char *field = nullptr) { u32(quint32(v), field); }
    // A string as UTF-16 code units, least significant byte first, no terminator.
    void utf16(const QString &s, const char *field = nullptr)
    {
        note(2 * s.size(), field);
        const int at = m_data.size();
        m_data.resize(at + 2 * s.size());
        char *out = m_data.data() + at;
        for (const QChar unit : s) {
            *out++ = char(unit.unicode() & 0xFF);
            *out++ = char(unit.unicode() >> 8);
        }
    }
    void bytes(const QByteArray &b, const char *field = nullptr)
    {
        note(b.size(), field);
        m_data.append(b);
    }
    void zeros(int n, const char *field = nullptr)
    {
        if (n <= 0)
            return;
        note(n, field);
        m_data.append(QByteArray(n, '\0'));
    }
    // Zero bytes up to the next multiple of `multiple`.
    void padTo(int multiple, const char *field = "padding")
    {
        zeros((multiple - m_data.size() % multiple) % multiple, field);
    }

    int size() const { return m_data.size(); }
    // Room for n bytes in all, so that a writer of known size grows once.
    void reserve(int n)
    {
        m_data.reserve(n);
        HugePages::advise(m_data.constData(), n);
    }
    // Room for n more bytes; grows by half again at least, so that many
    // pieces appended one after another cost no copy each.
    void reserveMore(int n)
    {
        if (m_data.capacity() - m_data.size() < n)
            m_data.reserve(qMax(m_data.size() + n, m_data.capacity() + m_data.capacity() / 2));
    }

    void patchU8(int at, quint8 v) { m_data[at] = char(v); }
    void patchU16(int at, quint16 v)
    {
        m_data[at] = char(v & 0xFF);
        m_data[at + 1] = char(v >> 8);
    }
    void patchU32(int at, quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            m_data[at + i] = char((v >> (8 * i)) & 0xFF);
    }

    // The five-byte header of an item record: type, item number, payload length.
    // The length is written as zero and patched by endRecord from the bytes
    // actually written, so no record counts its own bytes.
    void beginRecord(quint8 type, quint16 number)
    {
        m_recordStart = m_data.size();
        u8(type, "record type");
        u16(number, "item number");
        u16(0, "payload length");
    }
    void endRecord()
    {
        patchU16(m_recordStart + 3, quint16(m_data.size() - m_recordStart - 5));
        m_recordStart = -1;
    }

    const QByteArray &data() const { return m_data; }
    QByteArray &data() { return m_data; }

    // One line per written field: "offset: hex bytes ; field".
    QString annotatedDump() const
    {
        QString out;
        for (const Field &f : m_fields) {
            out += QString::number(f.offset).rightJustified(6) + QStringLiteral(": ");
            const QByteArray piece = m_data.mid(f.offset, f.size);
            out += QString::fromLatin1(piece.toHex(' ').toUpper());
            if (!f.name.isEmpty())
                out += QStringLiteral(" ; ") + f.name;
            out += QLatin1Char('\n');
        }
        return out;
    }

private:
    struct Field
    {
        int offset;
        int size;
        QString name;
    };

    void note(int size, const char *field)
    {
        if (m_annotate)
            m_fields.push_back({m_data.size(), size, QString::fromLatin1(field ? field : "")});
    }

public:
    // Fields are remembered only when asked for, so that big images stay cheap.
    void setAnnotate(bool on) { m_annotate = on; }

private:
    QByteArray m_data;
    std::vector<Field> m_fields;
    int m_recordStart = -1;
    bool m_annotate = false;
};

#endif
