#include "items/wdltokenfilter.h"

#include "base/lewriter.h"
#include "base/saslayout.h"

WdlTokenFilter::WdlTokenFilter(const QString &id, const QBitArray &bits, bool isClf)
    : WdlToken(id), m_bits(bits), m_isClf(isClf)
{
}

// CLF: <id> "<i>,<j>,...,<last>"   (or APF:)
// The closing quote comes with the last index of the bit array; the reader
// sizes the array so that its last bit is always set.
QString WdlTokenFilter::toString(bool inScreen) const
{
    if (inScreen)
        return QString();
    QString out = (m_isClf ? QStringLiteral("CLF: ") : QStringLiteral("APF: ")) + id() + QStringLiteral(" \"");
    const int last = m_bits.size() - 1;
    for (int i = 0; i <= last; ++i) {
        if (!m_bits.testBit(i))
            continue;
        out += QString::number(i);
        out += i == last ? QStringLiteral("\"\n") : QStringLiteral(",");
    }
    return out;
}

// | offset | size | field                                          |
// |      0 |    5 | header: type 11, item number, payload length m |
// |      5 |    m | bitmap, m = bits / 8 + 1, least significant    |
// |        |      | bit first: byte k holds indexes 8k .. 8k + 7   |
// The panel expects the extra byte when the bit count is a multiple of 8.
void WdlTokenFilter::writeRecord(LeWriter &w) const
{
    const int size = m_bits.size();
    const int byteCount = size / 8 + 1;
    w.beginRecord(SasLayout::FilterRecord, getIndex());
    for (int k = 0; k < byteCount; ++k) {
        int byte = 0;
        int weight = 1;
        for (int i = 8 * k; i < 8 * k + 8; ++i, weight *= 2) {
            if (i < size && m_bits.testBit(i))
                byte += weight;
        }
        w.u8(quint8(byte), "bitmap");
    }
    w.endRecord();
}
