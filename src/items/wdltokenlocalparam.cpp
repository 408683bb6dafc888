#include "items/wdltokenlocalparam.h"

#include "base/lewriter.h"
#include "base/saslayout.h"

WdlTokenLocalParam::WdlTokenLocalParam(const QString &id, int value) : WdlToken(id), m_value(value) {}

QString WdlTokenLocalParam::toString(bool inScreen) const
{
    if (inScreen)
        return QString();
    return QStringLiteral("LP: ") + id() + QStringLiteral(" = ") + QString::number(m_value) + QLatin1Char('\n');
}

// | offset | size | field                                        |
// |      0 |    5 | header: type 7, item number, payload length  |
// |      5 |    4 | value, signed                                |
void WdlTokenLocalParam::writeRecord(LeWriter &w) const
{
    w.beginRecord(SasLayout::LocalParameterRecord, getIndex());
    w.i32(m_value, "value");
    w.endRecord();
}

void WdlTokenLocalParam::setValue(int i)
{
    if (i == m_value)
        return;
    m_value = i;
    emit valueChanged(i);
}
