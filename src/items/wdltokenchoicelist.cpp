#include "items/wdltokenchoicelist.h"

#include "core/lewriter.h"

WdlTokenChoiceList::WdlTokenChoiceList(const QString &id)
    : WdlToken(id)
{
}

QString WdlTokenChoiceList::toString(bool) const { return QString(); }
QByteArray WdlTokenChoiceList::toByteArray() const { return QByteArray(); }

void WdlTokenChoiceList::addChoice(WdlTokenText *value)
{
    if (!value)
        return;
    m_choices.append(value);
    value->addReference();
}

void WdlTokenChoiceList::setDefaultChoice(int a) { m_defaultChoice = quint16(a); }

WdlTokenText *WdlTokenChoiceList::getDefaultText() const
{
    return m_defaultChoice < m_choices.size() ? m_choices.at(m_defaultChoice) : nullptr;
}

bool WdlTokenChoiceList::sameChoices(const WdlTokenChoiceList *other) const
{
    return other && m_choices == other->m_choices;
}
