#include "items/wdltoken.h"


WdlToken::WdlToken(const QString &id)
    : m_id(id)
{
}

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
    return QByteArray(6, char(0xFF));
}

void WdlToken::setId(const QString &id)
{
    m_id = id;
    emit idChanged();
}
