#include "items/wdltokenoverlay.h"

WdlTokenOverlay::WdlTokenOverlay(const QString &id)
    : WdlToken(id)
{
}

QString WdlTokenOverlay::toString(bool) const { return QString(); }
QByteArray WdlTokenOverlay::toByteArray() const { return QByteArray(); }

void WdlTokenOverlay::setText(WdlTokenText *text) { if (text) { m_text = text; text->addReference(); } }

void WdlTokenOverlay::setAction(int key, const QString &action)
{
    if (key < 0 || key >= kKeyCount || action.isEmpty())
        return;
    m_actions[key] = action;
}

QString WdlTokenOverlay::action(int key) const { return key >= 0 && key < kKeyCount ? m_actions[key] : QString(); }

void WdlTokenOverlay::bind(const QString &, const QString &) {}
