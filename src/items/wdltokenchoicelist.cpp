#include "items/wdltokenchoicelist.h"

#include "base/lewriter.h"
#include "base/saslayout.h"

WdlTokenChoiceList::WdlTokenChoiceList(const QString &id) : WdlToken(id) {}

// CL: <id>
// {
//    <text id>
//    ...
// }
// The default entry has no WDL syntax of its own, so it is not written.
QString WdlTokenChoiceList::toString(bool inScreen) const
{
    if (inScreen)
        return QString();
    QString out = QStringLiteral("CL: ") + id() + QStringLiteral("\n{\n");
    for (const WdlTokenText *choice : m_choices)
        out += QStringLiteral("   ") + choice->id() + QLatin1Char('\n');
    out += QStringLiteral("}\n\n");
    return out;
}

// | offset | size | field                                        |
// |      0 |    5 | header: type 4, item number, payload length  |
// |      5 |    1 | number of entries n (low 8 bits)             |
// |      6 |    1 | default entry (low 8 bits)                   |
// | 7 + 2i |    2 | text number of entry i                       |
void WdlTokenChoiceList::writeRecord(LeWriter &w) const
{
    w.beginRecord(SasLayout::ChoiceListRecord, getIndex());
    w.u8(quint8(m_choices.size()), "entry count");
    w.u8(quint8(m_defaultChoice), "default entry");
    for (const WdlTokenText *choice : m_choices)
        w.u16(choice->getIndex(), "entry text");
    w.endRecord();
}

void WdlTokenChoiceList::addChoice(WdlTokenText *value)
{
    if (!value)
        return;
    m_choices.append(value);
    value->addReference();
}

void WdlTokenChoiceList::setDefaultChoice(int a)
{
    m_defaultChoice = quint16(a);
}

WdlTokenText *WdlTokenChoiceList::getDefaultText() const
{
    return m_defaultChoice < m_choices.size() ? m_choices.at(m_defaultChoice) : nullptr;
}

bool WdlTokenChoiceList::sameChoices(const WdlTokenChoiceList *other) const
{
    return other && m_choices == other->m_choices;
}
