#ifndef WDLC_CRC16ARC_H
#define WDLC_CRC16ARC_H

#include <QtGlobal>

// CRC-16/ARC: polynomial 0x8005 reflected (0xA001), initial value 0,
// reflected input and output, no final XOR. Fed one byte at a time, so that
// the image's check value can take its bytes in swapped pairs without a copy.
class Crc16Arc
{
public:
    void add(quint8 byte);
    quint16 value() const { return m_crc; }

private:
    quint16 m_crc = 0;
};

#endif
