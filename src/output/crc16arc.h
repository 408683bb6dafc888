#ifndef WDLC_CRC16ARC_H
#define WDLC_CRC16ARC_H

#include <QtGlobal>

#include <array>

namespace crc16arc {

constexpr quint16 kReflectedPolynomial = 0xA001;

constexpr std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? quint16((crc >> 1) ^ kReflectedPolynomial) : quint16(crc >> 1);
        table[i] = crc;
    }
    return table;
}

// The table is linear over XOR, so a byte x followed by a byte y leaves
// P[x] ^ T[y ^ high byte of the register], with P[x] = (T[x] >> 8) ^ T[T[x] & 0xFF].
constexpr std::array<quint16, 256> makePairTable()
{
    const std::array<quint16, 256> table = makeTable();
    std::array<quint16, 256> pair{};
    for (unsigned i = 0; i < 256; ++i)
        pair[i] = quint16((table[i] >> 8) ^ table[table[i] & 0xFFu]);
    return pair;
}

inline constexpr std::array<quint16, 256> kTable = makeTable();
inline constexpr std::array<quint16, 256> kPairTable = makePairTable();

} // namespace crc16arc

// CRC-16/ARC: polynomial 0x8005 reflected (0xA001), initial value 0,
// reflected input and output, no final XOR. Fed one byte or one byte pair at
// a time, so that the image's check value can take its bytes in swapped pairs
// without a copy. Everything is inline: the check value feeds every byte of
// the image through it. The shifts here are the CRC's arithmetic, not byte
// order: bytes still go through LeWriter.
class Crc16Arc
{
public:
    void add(quint8 byte) { m_crc = quint16((m_crc >> 8) ^ crc16arc::kTable[(m_crc ^ byte) & 0xFFu]); }
    // Two bytes, first then second, in one step: the second byte's lookup no
    // longer waits for the first's, which halves the chain of dependent
    // lookups over a large image.
    void add(quint8 first, quint8 second)
    {
        m_crc = quint16(crc16arc::kPairTable[(m_crc ^ first) & 0xFFu]
                        ^ crc16arc::kTable[((m_crc >> 8) ^ second) & 0xFFu]);
    }
    quint16 value() const { return m_crc; }

private:
    quint16 m_crc = 0;
};

#endif
