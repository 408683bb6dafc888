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

// Tables for eight bytes at a time: kSliced[k][x] is the register left by a
// byte x followed by k zero bytes. The table is linear over XOR, so eight
// bytes fold into eight independent lookups instead of a chain of eight.
constexpr std::array<std::array<quint16, 256>, 8> makeSlicedTables()
{
    std::array<std::array<quint16, 256>, 8> sliced{};
    sliced[0] = makeTable();
    for (unsigned k = 1; k < 8; ++k) {
        for (unsigned i = 0; i < 256; ++i)
            sliced[k][i] = quint16((sliced[k - 1][i] >> 8) ^ sliced[0][sliced[k - 1][i] & 0xFFu]);
    }
    return sliced;
}

inline constexpr std::array<std::array<quint16, 256>, 8> kSliced = makeSlicedTables();
inline constexpr const std::array<quint16, 256> &kTable = kSliced[0];
// A byte x followed by one zero byte: lets a byte pair take one step.
inline constexpr const std::array<quint16, 256> &kPairTable = kSliced[1];

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
    // The byte pairs of data[0, size), each fed second byte first, as the
    // image's check value takes them; an odd last byte is left out. Eight
    // bytes per step through the sliced tables.
    void addSwappedPairs(const quint8 *data, qint64 size)
    {
        using crc16arc::kSliced;
        qint64 at = 0;
        for (; at + 8 <= size; at += 8) {
            const unsigned first = (m_crc ^ data[at + 1]) & 0xFFu;
            const unsigned second = ((m_crc >> 8) ^ data[at]) & 0xFFu;
            m_crc = quint16(kSliced[7][first] ^ kSliced[6][second] ^ kSliced[5][data[at + 3]] ^ kSliced[4][data[at + 2]]
                            ^ kSliced[3][data[at + 5]] ^ kSliced[2][data[at + 4]] ^ kSliced[1][data[at + 7]]
                            ^ kSliced[0][data[at + 6]]);
        }
        for (; at + 1 < size; at += 2)
            add(data[at + 1], data[at]);
    }
    quint16 value() const { return m_crc; }

private:
    quint16 m_crc = 0;
};

#endif
