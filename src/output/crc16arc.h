#ifndef WDLC_CRC16ARC_H
#define WDLC_CRC16ARC_H

#include <QtGlobal>

// CRC-16/ARC: polynomial 0x8005 reflected (0xA001), initial value 0,
// reflected input and output, no final XOR. Fed one byte at a time, so that
// the image's check value can take its bytes in swapped pairs without a copy.
class Crc16Arc
{
public:
    // Inline: the image's check value feeds every byte of the image through it.
    void add(quint8 byte) { m_crc = quint16((m_crc >> 8) ^ table()[(m_crc ^ byte) & 0xFFu]); }
    // Two bytes, first then second, in one step: the second byte's table
    // lookup no longer waits for the first's, which halves the chain of
    // dependent lookups over a large image.
    void add(quint8 first, quint8 second)
    {
        m_crc = quint16(pairTable()[(m_crc ^ first) & 0xFFu] ^ table()[((m_crc >> 8) ^ second) & 0xFFu]);
    }
    quint16 value() const { return m_crc; }

private:
    static const quint16 *table();
    static const quint16 *pairTable();

    quint16 m_crc = 0;
};

#endif
