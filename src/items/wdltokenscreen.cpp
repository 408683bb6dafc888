#include "items/wdltokenscreen.h"

#include "base/lewriter.h"
#include "base/saslayout.h"

namespace {

const QString kInd = QStringLiteral("   ");

} // namespace

WdlTokenScreen::WdlTokenScreen(const QString &id) : WdlToken(id) {}

void WdlTokenScreen::addParameter(WdlTokenParam *param)
{
    if (!param)
        return;
    m_parameters.append(param);
    param->addReference();
}

void WdlTokenScreen::setPreScreenScript(WdlTokenScript *script)
{
    if (!script)
        return;
    m_preScreenScript = script;
    script->addReference();
}

void WdlTokenScreen::setPss(WdlTokenScript *script)
{
    if (!script)
        return;
    m_pss = script;
    script->addReference();
}

void WdlTokenScreen::setNextScreenScript(WdlTokenScript *script)
{
    if (!script)
        return;
    m_nextScreenScript = script;
    script->addReference();
}

void WdlTokenScreen::setNextScreen(WdlTokenScreen *screen)
{
    if (!screen)
        return;
    m_nextScreen = screen;
    screen->addReference();
}

void WdlTokenScreen::setOverlay(WdlTokenOverlay *overlay)
{
    if (!overlay)
        return;
    m_overlay = overlay;
    overlay->addReference();
}

bool WdlTokenScreen::isOverlayScreen() const
{
    return m_parameters.isEmpty();
}

QString WdlTokenScreen::getOverlayText() const
{
    if (!m_overlay)
        return QStringLiteral("ERROR not overlay");
    if (!m_overlay->text())
        return QStringLiteral("UNKNOWN");
    return m_overlay->text()->getText();
}

WdlTokenParam *WdlTokenScreen::getParam(int i) const
{
    return i >= 0 && i < m_parameters.size() ? m_parameters.at(i) : nullptr;
}

QStringList WdlTokenScreen::getParameters() const
{
    QStringList ids;
    for (const WdlTokenParam *param : m_parameters)
        ids.append(param->id());
    return ids;
}

bool WdlTokenScreen::removeParameter(int i)
{
    if (m_parameters.isEmpty())
        return true;
    if (i == 0)
        m_parameters.removeFirst();
    else
        m_parameters.removeLast();
    return true;
}

bool WdlTokenScreen::replaceParameter(WdlTokenParam *param, int paramNumber)
{
    if (!param || paramNumber < 1 || paramNumber > 2)
        return false;
    if (m_parameters.size() < paramNumber)
        m_parameters.append(param);
    else
        m_parameters[paramNumber - 1] = param;
    return true;
}

WdlTokenScript *WdlTokenScreen::getScript(int a) const
{
    switch (a) {
    case WdlTokenScript::ScriptType_WS:
        return m_writeScript;
    case WdlTokenScript::ScriptType_NSS:
        return m_nextScreenScript;
    case WdlTokenScript::ScriptType_PSS:
        return m_pss;
    case WdlTokenScript::ScriptType_PRE:
        return m_preScreenScript;
    default:
        return nullptr;
    }
}

void WdlTokenScreen::setScript(int a, WdlTokenScript *script)
{
    if (!script)
        return;
    switch (a) {
    case WdlTokenScript::ScriptType_WS:
        m_writeScript = script;
        break;
    case WdlTokenScript::ScriptType_NSS:
        m_nextScreenScript = script;
        break;
    case WdlTokenScript::ScriptType_PSS:
        m_pss = script;
        break;
    case WdlTokenScript::ScriptType_PRE:
        m_preScreenScript = script;
        break;
    default:
        break;
    }
}

void WdlTokenScreen::setNextScreenName(WdlTokenScreen *value)
{
    if (value)
        m_nextScreen = value;
}

// | offset  | size | field                                              |
// |       0 |    5 | header: type 2, item number, payload length        |
// |       5 |    1 | kind: 3 with an overlay, else the parameter count; |
// |         |      | 3 more with a pre-screen script                    |
// |       6 |    2 | next screen, 0 if none                             |
// |       8 |    2 | next-screen script, 0 if none                      |
// |      10 |    2 | PSS, 0 if none                                     |
// |      12 |    2 | pre-screen script            (only when set)       |
// | 12 / 14 |    2 | overlay, else first parameter, 0 if none           |
// | 14 / 16 |    2 | second parameter             (only with exactly    |
// |         |      | two; zero on an overlay screen)                    |
// The screen's write script is not part of the record.
void WdlTokenScreen::writeRecord(LeWriter &w) const
{
    const bool dual = m_parameters.size() == 2;
    int kind = m_overlay ? 3 : m_parameters.size();
    if (m_preScreenScript)
        kind += 3;

    w.beginRecord(SasLayout::ScreenRecord, getIndex());
    w.u8(quint8(kind), "screen kind");
    w.u16(indexOrZero(m_nextScreen), "next screen");
    w.u16(indexOrZero(m_nextScreenScript), "next-screen script");
    w.u16(indexOrZero(m_pss), "PSS");
    if (m_preScreenScript)
        w.u16(m_preScreenScript->getIndex(), "pre-screen script");
    if (m_overlay)
        w.u16(m_overlay->getIndex(), "overlay");
    else
        w.u16(indexOrZero(getParam(0)), "first parameter");
    if (dual) {
        if (m_overlay)
            w.zeros(2, "second parameter (overlay screen)");
        else
            w.u16(m_parameters.at(1)->getIndex(), "second parameter");
    }
    w.endRecord();
}

// The keyword follows the number of parameters alone, as isOverlayScreen does,
// so a screen keeps the keyword the editor shows for it. The screen's write
// script is not written.
QString WdlTokenScreen::toString(bool inScreen) const
{
    if (inScreen)
        return QString();
    QString out;
    switch (m_parameters.size()) {
    case 0:
        out += QStringLiteral("SCREEN_OVERLAY: ");
        break;
    case 1:
        out += QStringLiteral("SCREEN_SINGLE_PARAM: ");
        break;
    case 2:
        out += QStringLiteral("SCREEN_DUAL_PARAM: ");
        break;
    default:
        break;
    }
    out += id() + QStringLiteral("\n{\n");
    if (m_preScreenScript)
        out += m_preScreenScript->toString(true) + QLatin1Char('\n');
    if (!m_parameters.isEmpty()) {
        for (const WdlTokenParam *param : m_parameters)
            out += param->toString(true);
        out += QLatin1Char('\n');
    }
    if (m_overlay)
        out += m_overlay->toString(true) + QLatin1Char('\n');
    if (m_pss)
        out += m_pss->toString(true) + QLatin1Char('\n');
    if (m_nextScreen)
        out += kInd + QStringLiteral("NS: ") + m_nextScreen->id() + QLatin1Char('\n');
    if (m_nextScreenScript)
        out += m_nextScreenScript->toString(true) + QLatin1Char('\n');
    out += QStringLiteral("}\n");
    return out;
}
