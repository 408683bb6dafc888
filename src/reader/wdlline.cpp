#include "reader/wdlline.h"

namespace {

// Splits at runs of characters for which isSeparator holds, dropping empty pieces.
template<class Separator> QStringList splitAt(const QString &line, Separator isSeparator)
{
    QStringList out;
    const int size = line.size();
    int i = 0;
    while (i < size) {
        while (i < size && isSeparator(line.at(i)))
            ++i;
        const int start = i;
        while (i < size && !isSeparator(line.at(i)))
            ++i;
        if (i > start)
            out.append(line.mid(start, i - start));
    }
    return out;
}

} // namespace

QString WdlLine::significant(const QString &physicalLine)
{
    QString line = physicalLine;
    const int hash = line.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        line.truncate(hash);
    const int slashes = line.indexOf(QLatin1String("//"));
    if (slashes >= 0)
        line.truncate(slashes);
    return line.trimmed();
}

QStringList WdlLine::words(const QString &line)
{
    return splitAt(line, [](QChar c) { return c.isSpace(); });
}

QStringList WdlLine::itemWords(const QString &line)
{
    return splitAt(line, [](QChar c) { return c.isSpace() || c == QLatin1Char(':'); });
}

QString WdlLine::tag(const QString &firstWord)
{
    QString tag = firstWord;
    return tag.remove(QLatin1Char(':'));
}

bool WdlLine::isCompleteText(const QString &line)
{
    return line.count(QLatin1Char('"')) % 2 == 0 && line.count(QLatin1String("\\\"")) % 2 == 0;
}

QString WdlLine::quotedText(const QString &line)
{
    const int quotes = line.count(QLatin1Char('"'));
    QString text = line.section(QLatin1Char('"'), 1 - quotes, -1, QString::SectionSkipEmpty);
    return text.replace(QLatin1String("\\n"), QLatin1String("\n"));
}

QString WdlLine::lastQuotedSection(const QString &line)
{
    return line.section(QLatin1Char('"'), -1, -1, QString::SectionSkipEmpty);
}
