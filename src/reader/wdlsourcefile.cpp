#include "reader/wdlsourcefile.h"

#include "core/inputfile.h"
#include "reader/wdlline.h"
#include "reader/wdlparser.h"

#include <QChar>
#include <QFile>
#include <QHash>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr uint kReplacement = 0xFFFD;

// One character of a line as the reader decodes it, with the bytes it came
// from. CR bytes are no character: the reader drops them before decoding, so
// they may even sit inside the bytes of one character.
struct Unit
{
    int start;
    int end;
    uint code;
};

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes raw as UTF-8 with every CR dropped. A byte that starts no valid
// sequence stands alone for a replacement character, as the reader's decoder
// has it. At the start of the text a byte order mark is no character either:
// the decoder drops one there, after the reader has dropped the file's own.
QVector<Unit> decode(const QByteArray &raw, bool atStartOfText)
{
    QVector<int> at; // offsets of the bytes that are not CR
    at.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != '\r')
            at.append(i);
    }
    const auto byte = [&](int k) { return uchar(raw.at(at.at(k))); };
    QVector<Unit> units;
    units.reserve(at.size());
    int k = 0;
    if (atStartOfText && at.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        k = 3;
    while (k < at.size()) {
        const uchar lead = byte(k);
        int length = 1;
        uint code = lead;
        uint minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        } else if (lead >= 0x80) {
            length = 0;
        }
        bool valid = length > 0 && k + length <= at.size();
        for (int j = 1; valid && j < length; ++j) {
            valid = isContinuation(byte(k + j));
            code = (code << 6) | (byte(k + j) & 0x3F);
        }
        valid = valid && code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            length = 1;
            code = kReplacement;
        }
        units.append(Unit{at.at(k), at.at(k + length - 1) + 1, code});
        k += length;
    }
    return units;
}

bool isSpace(uint code)
{
    return QChar::isSpace(code);
}

QString textOf(const QVector<Unit> &units, int from, int to)
{
    QString text;
    text.reserve(to - from);
    for (int i = from; i < to; ++i) {
        const uint code = units.at(i).code;
        if (QChar::requiresSurrogates(code)) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(ushort(code));
        }
    }
    return text;
}

int keywordOf(const QString &word)
{
    return WdlParser::commandValue("Commands", word);
}

bool isScriptKeyword(int value)
{
    return value >= WdlParser::WS && value <= WdlParser::FIRST_SCREEN_SCRIPT;
}

// Keywords whose line, at top level, is followed by a block.
bool takesBlock(int value)
{
    return value == WdlParser::CL || value == WdlParser::VP || value == WdlParser::VCP || isScriptKeyword(value)
           || (value >= WdlParser::SCREEN_OVERLAY && value <= WdlParser::SCREEN_DUAL_PARAM);
}

bool isHead(const WdlSourceFile::Line &line, WdlSourceFile::HeadRole role)
{
    if (line.kind != WdlSourceFile::Code)
        return false;
    const WdlSourceFile::HeadRole actual = WdlSourceFile::headRole(line.code());
    return role == WdlSourceFile::BlockHead ? actual != WdlSourceFile::NoHead : actual == role;
}

void split(WdlSourceFile::Line *line, bool atStartOfText)
{
    const QByteArray &raw = line->raw;
    const QVector<Unit> units = decode(raw, atStartOfText);
    const int n = units.size();
    int comment = n;
    for (int i = 0; i < n && comment == n; ++i) {
        if (units.at(i).code == '#' || (units.at(i).code == '/' && i + 1 < n && units.at(i + 1).code == '/'))
            comment = i;
    }
    int first = 0;
    while (first < comment && isSpace(units.at(first).code))
        ++first;
    int last = comment;
    while (last > first && isSpace(units.at(last - 1).code))
        --last;

    line->commentStart = comment < n ? units.at(comment).start : -1;
    line->codeStart = first < last ? units.at(first).start : (comment < n ? units.at(comment).start : raw.size());
    line->codeEnd = first < last ? units.at(last - 1).end : line->codeStart;

    int column = 1;
    QVector<int> columns(n + 1);
    for (int i = 0; i < n; ++i) {
        columns[i] = column;
        column += units.at(i).code > 0xFFFF ? 2 : 1;
    }
    columns[n] = column;

    for (int i = first; i < last; ++i) {
        if (units.at(i).code == '"') {
            line->quoteStart = units.at(i).start;
            break;
        }
    }
    int i = first;
    while (i < last) {
        while (i < last && isSpace(units.at(i).code))
            ++i;
        const int start = i;
        while (i < last && !isSpace(units.at(i).code))
            ++i;
        if (i > start) {
            WdlSourceFile::Word word;
            word.start = units.at(start).start;
            word.end = units.at(i - 1).end;
            word.column = columns.at(start);
            word.text = textOf(units, start, i);
            line->words.append(word);
        }
    }

    if (first == last)
        line->kind = comment < n ? WdlSourceFile::CommentOnly : WdlSourceFile::Blank;
    else if (units.at(first).code == '{')
        line->kind = WdlSourceFile::OpenBrace;
    else if (units.at(first).code == '}')
        line->kind = WdlSourceFile::CloseBrace;
    else
        line->kind = WdlSourceFile::Code;
}

// Depths as the reader counts them: at top level only a "{" right after a
// block's head line opens a block (any other brace line there is read as a
// line of its own); inside a block every "{" opens and every "}" closes.
void nest(QVector<WdlSourceFile::Line> &lines)
{
    QVector<bool> open; // one entry per open block: whether it is a script's
    const WdlSourceFile::Line *previous = nullptr;
    for (WdlSourceFile::Line &line : lines) {
        const bool inScript = !open.isEmpty() && open.constLast();
        line.depth = open.size();
        line.inScript = inScript;
        if (line.kind == WdlSourceFile::OpenBrace) {
            if (!open.isEmpty() || (previous && isHead(*previous, WdlSourceFile::BlockHead)))
                open.append(inScript || (previous && isHead(*previous, WdlSourceFile::ScriptHead)));
        } else if (line.kind == WdlSourceFile::CloseBrace && !open.isEmpty()) {
            open.removeLast();
            line.depth = open.size();
            line.inScript = !open.isEmpty() && open.constLast();
        }
        if (line.kind != WdlSourceFile::Blank && line.kind != WdlSourceFile::CommentOnly)
            previous = &line;
    }
}

} // namespace

// A line counts as a head when either view says so, so that a block that the
// reader might take for a script's is handled as one.
WdlSourceFile::HeadRole WdlSourceFile::headRole(const QString &code)
{
    // The reader drops a line of fewer than two words before it looks at its keyword.
    const QStringList words = WdlLine::words(code);
    const QStringList itemWords = WdlLine::itemWords(code);
    const int topLevel = words.size() < 2 ? -1 : keywordOf(WdlLine::tag(words.first()));
    const int inBlock = itemWords.size() < 2 ? -1 : keywordOf(itemWords.first());
    if (isScriptKeyword(topLevel) || isScriptKeyword(inBlock))
        return ScriptHead;
    return takesBlock(topLevel) || takesBlock(inBlock) ? BlockHead : NoHead;
}

QString WdlSourceFile::Line::text() const
{
    const QVector<Unit> units = decode(raw, number == 1);
    return textOf(units, 0, units.size());
}

QString WdlSourceFile::Line::code() const
{
    const QVector<Unit> units = decode(raw, number == 1);
    int from = 0;
    while (from < units.size() && units.at(from).start < codeStart)
        ++from;
    int to = from;
    while (to < units.size() && units.at(to).end <= codeEnd)
        ++to;
    return textOf(units, from, to);
}

WdlSourceFile WdlSourceFile::fromBytes(const QByteArray &bytes)
{
    return fromBytes(bytes, WdlSourceFile());
}

WdlSourceFile WdlSourceFile::fromBytes(const QByteArray &bytes, const WdlSourceFile &earlier)
{
    // The split of a line depends on its bytes alone, but for the first line,
    // where a second byte order mark is no character.
    QHash<QByteArray, int> earlierLines;
    earlierLines.reserve(earlier.m_lines.size());
    for (int i = earlier.m_lines.size() - 1; i > 0; --i)
        earlierLines.insert(earlier.m_lines.at(i).raw, i);
    WdlSourceFile file;
    int pos = 0;
    if (bytes.startsWith(kByteOrderMark)) {
        file.m_byteOrderMark = true;
        pos = 3;
    }
    int number = 0;
    while (pos < bytes.size()) {
        const int feed = bytes.indexOf('\n', pos);
        const int end = feed < 0 ? bytes.size() : feed;
        // The reader drops CR bytes before it splits lines: after the last LF,
        // nothing but CR makes no line.
        if (feed < 0 && bytes.mid(pos).count('\r') == end - pos) {
            file.m_trailingCr = bytes.mid(pos);
            break;
        }
        Line line;
        const QByteArray raw = bytes.mid(pos, end - pos);
        const int same = number == 0 ? -1 : earlierLines.value(raw, -1);
        if (same >= 0)
            line = earlier.m_lines.at(same);
        line.number = ++number;
        line.offset = pos;
        line.raw = raw;
        line.hasLineFeed = feed >= 0;
        if (same < 0)
            split(&line, number == 1);
        file.m_lines.append(line);
        pos = feed < 0 ? end : feed + 1;
    }
    nest(file.m_lines);
    return file;
}

bool WdlSourceFile::read(const QString &path, WdlSourceFile *file)
{
    QByteArray bytes;
    if (!InputFile::read(path, &bytes))
        return false;
    *file = fromBytes(bytes);
    return true;
}

QByteArray WdlSourceFile::bytes() const
{
    QByteArray out;
    if (m_byteOrderMark)
        out += kByteOrderMark;
    for (const Line &line : m_lines) {
        out += line.raw;
        if (line.hasLineFeed)
            out += '\n';
    }
    return out + m_trailingCr;
}
