#include "items/wdltoken.h"

#include "base/lewriter.h"

WdlToken::WdlToken(const QString &id) : m_id(id) {}

quint16 WdlToken::getIndex() const
{
    return m_itemNumber;
}

QString WdlToken::toString(bool inScreen) const
{
    return inScreen ? QStringLiteral("WizardSyntaxToken in screen\n")
                    : QStringLiteral("WizardSyntaxToken outside screen\n");
}

QByteArray WdlToken::toByteArray() const
{
    LeWriter w;
    writeRecord(w);
    return w.data();
}

// An item of no kind has no record of its own; these bytes stand for one.
void WdlToken::writeRecord(LeWriter &w) const
{
    w.bytes(QByteArray(6, char(0xFF)), "no record");
}

quint64 WdlToken::s_idChanges = 0;

void WdlToken::setId(const QString &id)
{
    ++s_idChanges;
    m_id = id;
    emit idChanged();
}
