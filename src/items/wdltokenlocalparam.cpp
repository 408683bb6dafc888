#include "items/wdltokenlocalparam.h"

WdlTokenLocalParam::WdlTokenLocalParam(const QString &id, int value)
    : WdlToken(id), m_value(value)
{
}

QString WdlTokenLocalParam::toString(bool) const { return QString(); }
QByteArray WdlTokenLocalParam::toByteArray() const { return QByteArray(); }

void WdlTokenLocalParam::setValue(int i)
{
    if (i == m_value)
        return;
    m_value = i;
    emit valueChanged(i);
}
