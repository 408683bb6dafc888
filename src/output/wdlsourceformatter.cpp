#include "output/wdlsourceformatter.h"

#include "reader/wdlline.h"
#include "reader/wdlparser.h"
#include "reader/wdlsourcefile.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

using Line = WdlSourceFile::Line;

constexpr int kIndent = 3;
// No wizard nests this deep; past it lines stay at this indentation, so that
// a file of thousands of opening braces does not grow by the square.
constexpr int kMaxIndentDepth = 32;

QByteArray withoutCr(QByteArray bytes)
{
    return bytes.replace('\r', QByteArray());
}

QString decoded(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArray trimmedEnd(QByteArray bytes)
{
    int end = bytes.size();
    while (end > 0 && isBlank(bytes.at(end - 1)))
        --end;
    bytes.truncate(end);
    return bytes;
}

// What the reader makes of a line of code in the context the line stands in;
// a rewrite must leave all of it as it was. The views of the other contexts
// are in too wherever they cost no layout, since the reader's idea of the
// context may differ from the nesting on a wizard with broken blocks.
QStringList readerView(const QString &code, bool inBlock, bool inScript)
{
    const QStringList words = WdlLine::words(code);
    QStringList view = {QString::number(int(WdlSourceFile::headRole(code))), WdlLine::quotedText(code),
                        // A filter's data; only read from a line with quotes.
                        code.contains(QLatin1Char('"')) ? WdlLine::lastQuotedSection(code) : QString(),
                        QLatin1String(WdlLine::isCompleteText(code) ? "complete" : "incomplete"),
                        WdlLine::itemWords(code).join(QLatin1Char('\n')), code.left(1)};
    if (!inBlock || inScript)
        view << words.join(QLatin1Char('\n')) << WdlLine::tag(words.value(0));
    if (inScript)
        view << code.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char('\n'));
    return view;
}

// The words of the code before its first quote, each as its bytes, and
// whether the last one runs straight into the quote. A script's words are
// separated by blanks only; elsewhere by any white space.
QList<QByteArray> wordsBeforeQuote(const Line &line, bool *gluedToQuote)
{
    const int end = line.quoteStart >= 0 ? line.quoteStart : line.codeEnd;
    QList<QByteArray> words;
    *gluedToQuote = false;
    if (line.inScript) {
        const QByteArray prefix = withoutCr(line.raw.mid(line.codeStart, end - line.codeStart));
        for (const QByteArray &word : prefix.split(' ')) {
            if (!word.isEmpty())
                words.append(word);
        }
        *gluedToQuote = !prefix.isEmpty() && !prefix.endsWith(' ');
        return words;
    }
    for (const WdlSourceFile::Word &word : line.words) {
        if (word.start >= end)
            break;
        words.append(withoutCr(line.raw.mid(word.start, qMin(word.end, end) - word.start)));
        *gluedToQuote = word.end > end;
    }
    return words;
}

QByteArray joined(const QList<QByteArray> &words, bool gluedToQuote, const QByteArray &quoted)
{
    QByteArray out;
    for (const QByteArray &word : words) {
        if (!out.isEmpty())
            out += ' ';
        out += word;
    }
    if (!quoted.isEmpty() && !out.isEmpty() && !gluedToQuote)
        out += ' ';
    return out + quoted;
}

// "TAG:value", "TAG :value" and "TAG : value" inside a block all read as
// "TAG: value". Done on bytes: blanks, colons and quotes are never part of
// a longer sequence, even in invalid UTF-8.
QByteArray withTagColon(const QByteArray &code)
{
    const int n = code.size();
    int tagEnd = 0;
    while (tagEnd < n && code.at(tagEnd) != ' ' && code.at(tagEnd) != ':' && code.at(tagEnd) != '"')
        ++tagEnd;
    int colons = tagEnd < n && code.at(tagEnd) == ' ' ? tagEnd + 1 : tagEnd;
    if (tagEnd == 0 || colons >= n || code.at(colons) != ':')
        return code;
    int rest = colons;
    while (rest < n && code.at(rest) == ':')
        ++rest;
    const QByteArray colonRun = code.mid(colons, rest - colons);
    if (rest < n && code.at(rest) == ' ')
        ++rest;
    return code.left(tagEnd) + colonRun + (rest < n ? " " : "") + code.mid(rest);
}

// A header version in the editor's spelling: the major without leading
// zeros, the minor with two digits (one for FILE_FORMAT_VERSION), since the
// reader takes "1.5" for minor 5 as it does "1.05", and only the second says so.
QByteArray withEditorVersion(const QByteArray &code, const Line &line)
{
    if (line.depth != 0 || line.words.size() != 2 || line.quoteStart >= 0)
        return code;
    const int tag = WdlParser::commandValue("Commands", WdlLine::tag(line.words.first().text));
    if (tag != WdlParser::FILE_FORMAT_VERSION && tag != WdlParser::FILE_VERSION && tag != WdlParser::DATABASE_VERSION)
        return code;
    static const QRegularExpression version(QStringLiteral("^([0-9]{1,9})\\.([0-9]{1,9})$"));
    const QRegularExpressionMatch match = version.match(line.words.last().text);
    if (!match.hasMatch())
        return code;
    const int major = match.captured(1).toInt();
    const int minor = match.captured(2).toInt();
    if (major > 0xFFFF || minor > 0xFFFF)
        return code;
    const int minorDigits = tag == WdlParser::FILE_FORMAT_VERSION ? 1 : 2;
    const QByteArray value = QByteArray::number(major) + '.'
                             + QByteArray::number(minor).rightJustified(minorDigits, '0');
    return code.left(code.lastIndexOf(' ') + 1) + value;
}

// The code of a line in the house spelling, or in its own where that would
// change what the reader sees.
QByteArray formattedCode(const Line &line)
{
    const QByteArray original = withoutCr(line.codeBytes());
    const bool inBlock = line.depth > 0;
    const QStringList view = readerView(decoded(original), inBlock, line.inScript);
    const auto keepsView = [&](const QByteArray &code) {
        const QString text = decoded(code);
        return WdlLine::significant(text) == text && readerView(text, inBlock, line.inScript) == view;
    };

    bool glued = false;
    const QList<QByteArray> words = wordsBeforeQuote(line, &glued);
    const QByteArray quoted = line.quoteStart >= 0
                                  ? withoutCr(line.raw.mid(line.quoteStart, line.codeEnd - line.quoteStart))
                                  : QByteArray();
    const QByteArray plain = joined(words, glued, quoted);
    if (!keepsView(plain))
        return original;
    if (line.kind == WdlSourceFile::Code && inBlock && !line.inScript) {
        const QByteArray colon = withTagColon(plain);
        if (keepsView(colon))
            return colon;
    }
    return withEditorVersion(plain, line);
}

QByteArray formattedLine(const Line &line)
{
    QByteArray comment = trimmedEnd(withoutCr(line.commentBytes()));
    if (line.kind == WdlSourceFile::Blank)
        return QByteArray();
    QByteArray out(qMin(line.depth, kMaxIndentDepth) * kIndent, ' ');
    if (line.kind != WdlSourceFile::CommentOnly) {
        out += formattedCode(line);
        if (!comment.isEmpty())
            out += ' ';
    }
    return out + comment;
}

} // namespace

QByteArray WdlSourceFormatter::format(const WdlSourceFile &file, BlankLines blankLines)
{
    const QVector<Line> &lines = file.lines();
    QByteArray out;
    if (file.hasByteOrderMark())
        out += "\xEF\xBB\xBF";
    if (blankLines == KeepLineNumbers) {
        // Even blank lines at the end stay: a block left open is reported at the last line.
        for (const Line &line : lines)
            out += formattedLine(line) + '\n';
        return out;
    }
    bool blankPending = false;
    bool afterOpenBrace = true; // the start of the file counts as one
    for (const Line &line : lines) {
        if (line.kind == WdlSourceFile::Blank) {
            blankPending = !afterOpenBrace;
            continue;
        }
        if (blankPending && line.kind != WdlSourceFile::CloseBrace)
            out += '\n';
        blankPending = false;
        afterOpenBrace = line.kind == WdlSourceFile::OpenBrace;
        out += formattedLine(line) + '\n';
    }
    return out;
}
