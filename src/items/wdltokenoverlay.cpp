#include "items/wdltokenoverlay.h"

#include "base/enumkeys.h"
#include "base/lewriter.h"
#include "base/saslayout.h"

#include <QMetaEnum>

namespace {

const QString kInd = QStringLiteral("   ");
const QString kInd2 = QStringLiteral("      ");

} // namespace

WdlTokenOverlay::WdlTokenOverlay(const QString &id) : WdlToken(id) {}

void WdlTokenOverlay::setText(WdlTokenText *text)
{
    if (!text)
        return;
    m_text = text;
    text->addReference();
}

void WdlTokenOverlay::setAction(int key, const QString &action)
{
    if (key < 0 || key >= kKeyCount || action.isEmpty())
        return;
    m_actions[key] = action;
}

QString WdlTokenOverlay::action(int key) const
{
    return key >= 0 && key < kKeyCount ? m_actions[key] : QString();
}

// An unknown name on either side is kept as -1, so that the binding itself
// stays visible to the editor.
void WdlTokenOverlay::bind(const QString &commandKey, const QString &actionKey)
{
    m_commandMap.insert(EnumKeys::of<OverlayCommands>().value(commandKey),
                        EnumKeys::of<ActionTypes>().value(actionKey));
}

int WdlTokenOverlay::actionValue(int key) const
{
    const int value = EnumKeys::of<ActionTypes>().value(action(key));
    return value < 0 ? NO_ACTION : value;
}

// An overlay is written only inside its screen's block, always with all eight
// keys so that a reader of the file sees the unbound ones too.
QString WdlTokenOverlay::toString(bool inScreen) const
{
    if (!inScreen)
        return QString();
    QString out = kInd + QStringLiteral("OVERLAY: ") + id() + QLatin1Char('\n');
    out += kInd + QStringLiteral("{\n");
    if (m_text)
        out += kInd2 + QStringLiteral("T: ") + m_text->id() + QLatin1Char('\n');
    const QMetaEnum keys = QMetaEnum::fromType<OverlayCommands>();
    for (int k = 0; k < kKeyCount; ++k)
        out += kInd2 + QLatin1String(keys.valueToKey(k)) + QStringLiteral(": ") + m_actions[k] + QLatin1Char('\n');
    out += kInd + QStringLiteral("}\n");
    return out;
}

// | offset | size | field                                        |
// |      0 |    5 | header: type 3, item number, payload length  |
// |      5 |    2 | text, 0 if none                              |
// |  7 + k |    1 | action of key k in OverlayCommands order;    |
// |        |      | NO_ACTION (12) when unset or unknown         |
void WdlTokenOverlay::writeRecord(LeWriter &w) const
{
    w.beginRecord(SasLayout::OverlayRecord, getIndex());
    w.u16(indexOrZero(m_text), "text");
    for (int k = 0; k < kKeyCount; ++k)
        w.u8(quint8(actionValue(k)), "key action");
    w.endRecord();
}
