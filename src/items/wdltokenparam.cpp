#include "items/wdltokenparam.h"

WdlTokenParam::WdlTokenParam(const QString &id, int parameterNumber)
    : WdlToken(id), m_kind(KindP), m_parameterNumber(parameterNumber)
{
}

WdlTokenParam::WdlTokenParam(const QString &id, bool isChoicelist)
    : WdlToken(id), m_kind(isChoicelist ? KindVCP : KindVP), m_parameterNumber(-1)
{
}

QString WdlTokenParam::toString(bool) const { return QString(); }
QByteArray WdlTokenParam::toByteArray() const { return QByteArray(); }

void WdlTokenParam::setApf(WdlTokenFilter *filter) { if (filter) { m_apf = filter; filter->addReference(); } }
void WdlTokenParam::setClf(WdlTokenFilter *filter) { if (filter) { m_clf = filter; filter->addReference(); } }
void WdlTokenParam::setText(WdlTokenText *text) { if (text) { m_text = text; text->addReference(); } }
void WdlTokenParam::setWriteScript(WdlTokenScript *script) { if (script) { m_writeScript = script; script->addReference(); } }
void WdlTokenParam::setChoiceList(WdlTokenChoiceList *choiceList) { if (choiceList) { m_choiceList = choiceList; choiceList->addReference(); } }
void WdlTokenParam::setUnitText(WdlTokenText *text) { if (text) { m_unitText = text; text->addReference(); } }

QString WdlTokenParam::name() const { return m_text ? m_text->getText() : QStringLiteral("undefined"); }
QString WdlTokenParam::helpText() const { return m_text ? m_text->getHelp() : QStringLiteral("undefined"); }
QString WdlTokenParam::defaultValueAsText() const { return QString(); }

bool WdlTokenParam::isBare() const
{
    return !m_text && !(m_choiceList && m_choiceList->choiceCount() > 0) && !m_clf && !m_apf && !m_writeScript;
}

void WdlTokenParam::setParameterNumber(int i) { if (i != m_parameterNumber) { m_parameterNumber = i; emit parameterNumberChanged(i); } }
void WdlTokenParam::setParameterName(WdlTokenText *) {}
void WdlTokenParam::setParameterChoiceList(WdlTokenChoiceList *) {}
