#include "items/wdltokentext.h"

#include "base/lewriter.h"

namespace {

QString escapedLineBreaks(QString s)
{
    return s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

} // namespace

WdlTokenText::WdlTokenText(const QString &id, const QString &value, bool isHelp) : WdlToken(id)
{
    setTextOrHelp(value, isHelp);
}

WdlTokenText::WdlTokenText(const QString &id, const QString &text, const QString &help) : WdlToken(id)
{
    setTextOrHelp(text, false);
    setTextOrHelp(help, true);
}

quint16 WdlTokenText::getIndex() const
{
    const quint16 n = itemNumber();
    return n <= 246 ? n : quint16(n + 4);
}

// | offset | size | field                                  |
// |      0 |    2 | text number                            |
// |      2 |    4 | key of the text: 2 * number - 1        |
// |      6 |    4 | key of the help: 2 * number            |
void WdlTokenText::writeRecord(LeWriter &w) const
{
    w.u16(getIndex(), "text number");
    w.i32(textKey(), "text key");
    w.i32(helpKey(), "help key");
}

QString WdlTokenText::toString(bool inScreen) const
{
    if (inScreen)
        return QString();
    QString out = QStringLiteral("T: ") + id() + QStringLiteral(" \"") + escapedLineBreaks(m_text)
                  + QStringLiteral("\"\n");
    if (!m_help.isEmpty())
        out += QStringLiteral("H: ") + id() + QStringLiteral(" \"") + escapedLineBreaks(m_help)
               + QStringLiteral("\"\n");
    return out;
}

void WdlTokenText::setTextOrHelp(const QString &value, bool isHelp)
{
    // Only what the text needs is kept: a wizard may hold millions of texts,
    // each cut from a longer line.
    if (isHelp) {
        m_help = value;
        m_help.squeeze();
        emit helpChanged(value);
    } else {
        m_text = value;
        m_text.squeeze();
        emit textChanged(value);
    }
}

void WdlTokenText::setText(const QString &value)
{
    if (value == m_text)
        return;
    m_text = value;
    emit textChanged(value);
}

void WdlTokenText::setHelp(const QString &value)
{
    if (value == m_help)
        return;
    m_help = value;
    emit helpChanged(value);
}
