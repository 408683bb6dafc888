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

} // namespace

void Crc16Arc::add(quint8 byte)
{
    m_crc = quint16((m_crc >> 8) ^ kTable[(m_crc ^ byte) & 0xFFu]);
}
