#include "items/wdltokenscreen.h"

WdlTokenScreen::WdlTokenScreen(const QString &id)
    : WdlToken(id)
{
}

QString WdlTokenScreen::toString(bool) const { return QString(); }
QByteArray WdlTokenScreen::toByteArray() const { return QByteArray(); }

void WdlTokenScreen::addParameter(WdlTokenParam *param) { if (param) { m_parameters.append(param); param->addReference(); } }
void WdlTokenScreen::setPreScreenScript(WdlTokenScript *s) { if (s) { m_preScreenScript = s; s->addReference(); } }
void WdlTokenScreen::setPss(WdlTokenScript *s) { if (s) { m_pss = s; s->addReference(); } }
void WdlTokenScreen::setNextScreenScript(WdlTokenScript *s) { if (s) { m_nextScreenScript = s; s->addReference(); } }
void WdlTokenScreen::setNextScreen(WdlTokenScreen *s) { if (s) { m_nextScreen = s; s->addReference(); } }
void WdlTokenScreen::setOverlay(WdlTokenOverlay *o) { if (o) { m_overlay = o; o->addReference(); } }

bool WdlTokenScreen::isOverlayScreen() const { return m_parameters.isEmpty(); }
QString WdlTokenScreen::getOverlayText() const { return QString(); }
WdlTokenParam *WdlTokenScreen::getParam(int i) const { return i >= 0 && i < m_parameters.size() ? m_parameters.at(i) : nullptr; }
QStringList WdlTokenScreen::getParameters() const { return QStringList(); }
bool WdlTokenScreen::removeParameter(int) { return true; }
bool WdlTokenScreen::replaceParameter(WdlTokenParam *, int) { return false; }
WdlTokenScript *WdlTokenScreen::getScript(int) const { return nullptr; }
void WdlTokenScreen::setScript(int, WdlTokenScript *) {}
void WdlTokenScreen::setNextScreenName(WdlTokenScreen *) {}
