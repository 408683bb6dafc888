#include "output/crc16arc.h"

#include <array>

namespace {

// The usual 256-entry table of the reflected polynomial. The shifts here are
// the CRC's arithmetic, not byte order: bytes still go through LeWriter.
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

constexpr std::array<quint16, 256> kTable = makeTable();

// The table is linear over XOR, so a byte x followed by a byte y leaves
// T2[x] ^ T[y ^ high byte of the register], with T2[x] = (T[x] >> 8) ^ T[T[x] & 0xFF].
constexpr std::array<quint16, 256> makePairTable()
{
    std::array<quint16, 256> pair{};
    for (unsigned i = 0; i < 256; ++i)
        pair[i] = quint16((kTable[i] >> 8) ^ kTable[kTable[i] & 0xFFu]);
    return pair;
}

constexpr std::array<quint16, 256> kPairTable = makePairTable();

} // namespace

const quint16 *Crc16Arc::table()
{
    return kTable.data();
}

const quint16 *Crc16Arc::pairTable()
{
    return kPairTable.data();
}
