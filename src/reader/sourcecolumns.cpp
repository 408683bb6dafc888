#include "reader/sourcecolumns.h"

#include "reader/linesource.h"

namespace {

// Where a word of code ends on either side: the blanks between words, the
// colon after a tag, the quotes around a text, the commas of a filter.
bool isWordBoundary(QChar c)
{
    return c.isSpace() || c == QLatin1Char(':') || c == QLatin1Char('"') || c == QLatin1Char(',');
}

// Where the line's comment starts, as the reader cuts it: at the first "#"
// or "//", quotes or not.
int codeLength(const QString &line)
{
    int end = line.size();
    const int hash = line.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        end = hash;
    const int slashes = line.leftRef(end).indexOf(QLatin1String("//"));
    if (slashes >= 0)
        end = slashes;
    return end;
}

} // namespace

int SourceColumns::columnInLine(const QString &lineText, const QString &word)
{
    if (word.isEmpty())
        return 0;
    const int end = codeLength(lineText);
    for (int at = lineText.indexOf(word); at >= 0 && at + word.size() <= end; at = lineText.indexOf(word, at + 1)) {
        const bool startsWord = at == 0 || isWordBoundary(lineText.at(at - 1));
        const bool endsWord = at + word.size() == end || isWordBoundary(lineText.at(at + word.size()));
        if (startsWord && endsWord)
            return at + 1;
    }
    return 0;
}

int SourceColumns::column(const QString &path, int line, const QString &word)
{
    if (line <= 0 || word.isEmpty())
        return 0;
    auto it = m_files.find(path);
    if (it == m_files.end()) {
        QStringList lines;
        LineSource source;
        if (source.open(path, m_overlay)) {
            while (!source.atEnd())
                lines.append(source.readLine());
        }
        it = m_files.insert(path, lines);
    }
    if (line > it->size())
        return 0;
    return columnInLine(it->at(line - 1), word);
}
