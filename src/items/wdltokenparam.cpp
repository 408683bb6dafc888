#include "items/wdltokenparam.h"

#include "base/lewriter.h"
#include "base/saslayout.h"

#include <cmath>

namespace {

const QString kInd = QStringLiteral("   ");
const QString kInd2 = QStringLiteral("      ");

QString line(const QString &indent, const QString &tag, const QString &value)
{
    return indent + tag + value + QLatin1Char('\n');
}

} // namespace

WdlTokenParam::WdlTokenParam(const QString &id, int parameterNumber)
    : WdlToken(id), m_kind(KindP), m_parameterNumber(parameterNumber)
{
}

WdlTokenParam::WdlTokenParam(const QString &id, bool isChoicelist)
    : WdlToken(id), m_kind(isChoicelist ? KindVCP : KindVP), m_parameterNumber(-1)
{
}

void WdlTokenParam::setApf(WdlTokenFilter *filter)
{
    if (!filter)
        return;
    m_apf = filter;
    filter->addReference();
}

void WdlTokenParam::setClf(WdlTokenFilter *filter)
{
    if (!filter)
        return;
    m_clf = filter;
    filter->addReference();
}

void WdlTokenParam::setText(WdlTokenText *text)
{
    if (!text)
        return;
    m_text = text;
    text->addReference();
}

void WdlTokenParam::setWriteScript(WdlTokenScript *script)
{
    if (!script)
        return;
    m_writeScript = script;
    script->addReference();
}

void WdlTokenParam::setChoiceList(WdlTokenChoiceList *choiceList)
{
    if (!choiceList)
        return;
    m_choiceList = choiceList;
    choiceList->addReference();
}

void WdlTokenParam::setUnitText(WdlTokenText *text)
{
    if (!text)
        return;
    m_unitText = text;
    text->addReference();
}

QString WdlTokenParam::name() const
{
    return m_text ? m_text->getText() : QStringLiteral("undefined");
}

QString WdlTokenParam::helpText() const
{
    return m_text ? m_text->getHelp() : QStringLiteral("undefined");
}

QString WdlTokenParam::defaultValueAsText() const
{
    if (m_choiceList && m_choiceList->choiceCount() > 0) {
        if (const WdlTokenText *choice = m_choiceList->getDefaultText())
            return choice->getText();
    }
    if (m_kind != KindVP)
        return QStringLiteral("TODO");

    // Single precision first, then double, on purpose: a large default shows
    // rounded (16777217 as 16777216), as the wizard's users have always seen it.
    const double shown = double(float(m_defaultValue)) * std::pow(10.0, m_scaleValue);
    // A positive scale shifts the decimal point to the right: no decimals then.
    const int decimals = m_scaleValue < 0 ? -m_scaleValue : 0;
    QString out = QString::number(shown, 'f', decimals);
    if (m_unitText)
        out += QLatin1Char(' ') + m_unitText->getText().remove(QLatin1Char('"'));
    return out;
}

bool WdlTokenParam::isBare() const
{
    return !m_text && !hasChoices() && !m_clf && !m_apf && !m_writeScript;
}

bool WdlTokenParam::hasChoices() const
{
    return m_choiceList && m_choiceList->choiceCount() > 0;
}

void WdlTokenParam::setParameterNumber(int i)
{
    if (i == m_parameterNumber)
        return;
    m_parameterNumber = i;
    emit parameterNumberChanged(i);
}

void WdlTokenParam::setParameterName(WdlTokenText *parameterName)
{
    if (!parameterName)
        return;
    // The editor makes a new text item for every edit; one that reads the
    // same as the current name is no change.
    if (m_text && m_text != parameterName && m_text->getText() == parameterName->getText()
        && m_text->getHelp() == parameterName->getHelp())
        return;
    m_text = parameterName;
    emit parameterNameChanged(parameterName);
}

void WdlTokenParam::setParameterChoiceList(WdlTokenChoiceList *choiceListName)
{
    if (!choiceListName)
        return;
    if (m_choiceList && m_choiceList->sameChoices(choiceListName))
        return;
    m_choiceList = choiceListName;
    emit choiceListChanged(choiceListName);
}

// P without filters (type 6), P with a filter (type 13):
// | offset | size | field                                        |
// |      0 |    5 | header: type, item number, payload length    |
// |      5 |    2 | drive parameter number (low 16 bits)         |
// |      7 |    2 | name text (TO), 0 if none                    |
// |      9 |    2 | write script, 0 if none                      |
// |     11 |    2 | CLF, 0 if none              (type 13 only)   |
// |     13 |    2 | APF, 0 if none              (type 13 only)   |
//
// VCP (type 5):
// |      5 |    2 | choice list, 0 if none                       |
// |      7 |    2 | name text, 0 if none                         |
// |      9 |    2 | write script, 0 if none                      |
//
// VP (type 10):
// |      5 |    2 | name text, 0 if none                         |
// |      7 |    2 | unit text, 0 if none                         |
// |      9 |    4 | minimum, signed                              |
// |     13 |    4 | maximum, signed                              |
// |     17 |    4 | default, signed                              |
// |     21 |    4 | scale, signed                                |
// |     25 |    2 | write script, 0 if none                      |
void WdlTokenParam::writeRecord(LeWriter &w) const
{
    switch (m_kind) {
    case KindVCP:
        w.beginRecord(SasLayout::VcpRecord, getIndex());
        w.u16(indexOrZero(m_choiceList), "choice list");
        w.u16(indexOrZero(m_text), "name text");
        w.u16(indexOrZero(m_writeScript), "write script");
        break;
    case KindVP:
        w.beginRecord(SasLayout::VpRecord, getIndex());
        w.u16(indexOrZero(m_text), "name text");
        w.u16(indexOrZero(m_unitText), "unit text");
        w.i32(m_minValue, "minimum");
        w.i32(m_maxValue, "maximum");
        w.i32(m_defaultValue, "default");
        w.i32(m_scaleValue, "scale");
        w.u16(indexOrZero(m_writeScript), "write script");
        break;
    default: {
        const bool filtered = m_clf || m_apf;
        w.beginRecord(filtered ? SasLayout::FilteredDriveParameterRecord : SasLayout::DriveParameterRecord, getIndex());
        w.u16(quint16(m_parameterNumber), "parameter number");
        w.u16(indexOrZero(m_text), "name text");
        w.u16(indexOrZero(m_writeScript), "write script");
        if (filtered) {
            w.u16(indexOrZero(m_clf), "CLF");
            w.u16(indexOrZero(m_apf), "APF");
        }
        break;
    }
    }
    w.endRecord();
}

QString WdlTokenParam::toString(bool inScreen) const
{
    return inScreen ? inScreenText() : topLevelText();
}

// Inside a screen block a bare P is named only: its number is in the
// top-level section. Everything else gets a block of its own.
QString WdlTokenParam::inScreenText() const
{
    QString out;
    switch (m_kind) {
    case KindVCP:
        out += line(kInd, QStringLiteral("VCP: "), id());
        out += kInd + QStringLiteral("{\n");
        if (m_text) {
            // One text item holds both the name and its help.
            out += line(kInd2, QStringLiteral("T: "), m_text->id());
            out += line(kInd2, QStringLiteral("H: "), m_text->id());
        }
        if (hasChoices())
            out += line(kInd2, QStringLiteral("CL: "), m_choiceList->id());
        break;
    case KindVP:
        out += line(kInd, QStringLiteral("VP: "), id());
        out += kInd + QStringLiteral("{\n");
        if (m_text) {
            out += line(kInd2, QStringLiteral("T: "), m_text->id());
            if (!m_text->getHelp().isEmpty())
                out += line(kInd2, QStringLiteral("H: "), m_text->id());
        }
        if (m_unitText)
            out += line(kInd2, QStringLiteral("UT: "), m_unitText->id());
        out += line(kInd2, QStringLiteral("MIN: "), QString::number(m_minValue));
        out += line(kInd2, QStringLiteral("VAL: "), QString::number(m_defaultValue));
        out += line(kInd2, QStringLiteral("MAX: "), QString::number(m_maxValue));
        out += line(kInd2, QStringLiteral("SCALE: "), QString::number(m_scaleValue));
        break;
    default:
        if (isBare())
            return line(kInd, QStringLiteral("P: "), id());
        out += line(kInd, QStringLiteral("P: "), id() + QLatin1Char(' ') + QString::number(m_parameterNumber));
        out += kInd + QStringLiteral("{\n");
        if (m_text)
            out += line(kInd2, QStringLiteral("TO: "), m_text->id());
        if (m_clf)
            out += line(kInd2, QStringLiteral("CLF: "), m_clf->id());
        if (m_apf)
            out += line(kInd2, QStringLiteral("APF: "), m_apf->id());
        break;
    }
    if (m_writeScript)
        out += kInd + m_writeScript->toString(true);
    out += kInd + QStringLiteral("}\n\n");
    return out;
}

// At top level only what a screen does not write: a bare P, and the value
// range of a VP or the choice list of a VCP that was declared outside a screen.
QString WdlTokenParam::topLevelText() const
{
    if (m_kind == KindP && isBare())
        return line(QString(), QStringLiteral("P: "), id() + QLatin1Char(' ') + QString::number(m_parameterNumber));
    if (m_definedInScreen)
        return QString();
    QString out;
    switch (m_kind) {
    case KindVP:
        out += line(QString(), QStringLiteral("VP: "), id());
        out += QStringLiteral("{\n");
        out += line(kInd, QStringLiteral("MIN: "), QString::number(m_minValue));
        out += line(kInd, QStringLiteral("VAL: "), QString::number(m_defaultValue));
        out += line(kInd, QStringLiteral("MAX: "), QString::number(m_maxValue));
        out += line(kInd, QStringLiteral("SCALE: "), QString::number(m_scaleValue));
        out += QStringLiteral("}\n\n");
        break;
    case KindVCP:
        out += line(QString(), QStringLiteral("VCP: "), id());
        out += QStringLiteral("{\n");
        if (m_choiceList)
            out += line(kInd, QStringLiteral("CL: "), m_choiceList->id());
        out += QStringLiteral("}\n\n");
        break;
    default:
        break;
    }
    return out;
}
