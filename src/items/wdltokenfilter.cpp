#include "items/wdltokenfilter.h"

WdlTokenFilter::WdlTokenFilter(const QString &id, const QBitArray &bits, bool isClf)
    : WdlToken(id), m_bits(bits), m_isClf(isClf)
{
}

QString WdlTokenFilter::toString(bool) const { return QString(); }
QByteArray WdlTokenFilter::toByteArray() const { return QByteArray(); }
