#include "lsp/sourcesymbols.h"

#include "items/scriptcommandtable.h"
#include "reader/wdlline.h"
#include "reader/wdlparser.h"
#include "reader/wdlsourcefile.h"

#include <algorithm>

namespace {

using Kind = SourceSymbols::Kind;
using Context = SourceSymbols::Context;
using Operand = ScriptCommandTable::Operand;

int keywordOf(const QString &tag)
{
    return WdlParser::commandValue("Commands", tag);
}

bool isScriptTag(int value)
{
    return value >= WdlParser::WS && value <= WdlParser::FIRST_SCREEN_SCRIPT;
}

bool isScreenTag(int value)
{
    return value >= WdlParser::SCREEN_OVERLAY && value <= WdlParser::SCREEN_DUAL_PARAM;
}

// The keyword of a line in its context: at the top level the first word
// without its colons, in a block the first word up to a colon.
int keywordOf(const QVector<SourceSymbols::Token> &tokens, Context context)
{
    if (tokens.isEmpty())
        return -1;
    return keywordOf(context == SourceSymbols::TopLevel ? WdlLine::tag(tokens.first().text) : tokens.first().text);
}

// The block a head line opens, in the block the head stands in.
Context blockOf(Context context, int keyword)
{
    switch (context) {
    case SourceSymbols::TopLevel:
        if (isScreenTag(keyword))
            return SourceSymbols::ScreenBlock;
        if (keyword == WdlParser::VP)
            return SourceSymbols::VirtualParameterBlock;
        if (keyword == WdlParser::VCP)
            return SourceSymbols::ChoiceParameterBlock;
        if (keyword == WdlParser::CL)
            return SourceSymbols::ChoiceListBlock;
        return isScriptTag(keyword) ? SourceSymbols::ScriptBlock : SourceSymbols::OtherBlock;
    case SourceSymbols::ScreenBlock:
        if (keyword == WdlParser::P)
            return SourceSymbols::DriveParameterBlock;
        if (keyword == WdlParser::VP)
            return SourceSymbols::VirtualParameterBlock;
        if (keyword == WdlParser::VCP)
            return SourceSymbols::ChoiceParameterBlock;
        if (keyword == WdlParser::OVERLAY)
            return SourceSymbols::OverlayBlock;
        return keyword == WdlParser::WS || keyword == WdlParser::NSS || keyword == WdlParser::PSS
                       || keyword == WdlParser::PRE_SCREEN_SCRIPT
                   ? SourceSymbols::ScriptBlock
                   : SourceSymbols::OtherBlock;
    case SourceSymbols::DriveParameterBlock:
    case SourceSymbols::VirtualParameterBlock:
    case SourceSymbols::ChoiceParameterBlock:
        if (keyword == WdlParser::WS)
            return SourceSymbols::ScriptBlock;
        if (keyword == WdlParser::CL && context == SourceSymbols::ChoiceParameterBlock)
            return SourceSymbols::ChoiceListBlock;
        return SourceSymbols::OtherBlock;
    default:
        return SourceSymbols::OtherBlock;
    }
}

struct Block
{
    Context context;
    int head; // occurrence index of the id the head line names, or -1
    int scriptTag;
};

class Scanner
{
public:
    explicit Scanner(SourceSymbols::LineInfo *info, int line, QVector<SourceSymbols::Occurrence> *out, int parent)
        : m_info(info), m_line(line), m_out(out), m_parent(parent)
    {
    }

    // Records the occurrences of the line; returns the index of the one its
    // head names, or -1.
    int classify(Context context);

private:
    int add(Kind kind, int token, bool declares, int chop = 0);
    void classifyScriptLine();

    SourceSymbols::LineInfo *m_info;
    int m_line;
    QVector<SourceSymbols::Occurrence> *m_out;
    int m_parent;
};

int Scanner::add(Kind kind, int token, bool declares, int chop)
{
    const QVector<SourceSymbols::Token> &tokens = m_info->tokens;
    if (token >= tokens.size() || kind == SourceSymbols::NoKind)
        return -1;
    const SourceSymbols::Token &t = tokens.at(token);
    SourceSymbols::Occurrence o;
    o.kind = kind;
    o.id = t.text.left(t.text.size() - chop);
    if (o.id.isEmpty())
        return -1;
    o.line = m_line;
    o.start = t.start;
    o.end = t.end - chop;
    o.declares = declares;
    o.parent = m_parent;
    o.lastLine = m_line;
    m_out->append(o);
    return m_out->size() - 1;
}

int Scanner::classify(Context context)
{
    const QVector<SourceSymbols::Token> &tokens = m_info->tokens;
    if (context == SourceSymbols::ScriptBlock) {
        classifyScriptLine();
        return -1;
    }
    if (context == SourceSymbols::ChoiceListBlock) {
        if (!tokens.isEmpty())
            add(SourceSymbols::Text, 0, false, tokens.first().text.endsWith(QLatin1Char('*')) ? 1 : 0);
        return -1;
    }
    // The reader drops a line of fewer than two words.
    if (tokens.size() < 2)
        return -1;
    const int keyword = keywordOf(tokens, context);
    // A text line inside a block defines the text only when more follows its id.
    const bool definesText = tokens.size() > 2 || m_info->hasQuote;
    switch (context) {
    case SourceSymbols::TopLevel:
        switch (keyword) {
        case WdlParser::T:
        case WdlParser::H:
            return add(SourceSymbols::Text, 1, true);
        case WdlParser::P:
        case WdlParser::VP:
        case WdlParser::VCP:
            return add(SourceSymbols::Parameter, 1, true);
        case WdlParser::LP:
            return add(SourceSymbols::LocalParameter, 1, true);
        case WdlParser::CL:
            return add(SourceSymbols::ChoiceList, 1, true);
        case WdlParser::APF:
        case WdlParser::CLF:
            return add(SourceSymbols::Filter, 1, true);
        default:
            if (isScriptTag(keyword))
                return add(SourceSymbols::Script, 1, true);
            if (isScreenTag(keyword))
                return add(SourceSymbols::Screen, 1, true);
            return -1;
        }
    case SourceSymbols::ScreenBlock:
        switch (keyword) {
        case WdlParser::P:
        case WdlParser::VP:
        case WdlParser::VCP:
            return add(SourceSymbols::Parameter, 1, true);
        case WdlParser::OVERLAY:
            return add(SourceSymbols::Overlay, 1, true);
        case WdlParser::WS:
        case WdlParser::NSS:
        case WdlParser::PSS:
        case WdlParser::PRE_SCREEN_SCRIPT:
            return add(SourceSymbols::Script, 1, true);
        case WdlParser::NS:
            return add(SourceSymbols::Screen, 1, false);
        default:
            return -1;
        }
    case SourceSymbols::DriveParameterBlock:
    case SourceSymbols::VirtualParameterBlock:
    case SourceSymbols::ChoiceParameterBlock:
    case SourceSymbols::OverlayBlock:
        switch (keyword) {
        case WdlParser::T:
        case WdlParser::H:
            if (context != SourceSymbols::DriveParameterBlock)
                return add(SourceSymbols::Text, 1, definesText);
            return -1;
        case WdlParser::TO:
            return context == SourceSymbols::DriveParameterBlock ? add(SourceSymbols::Text, 1, false) : -1;
        case WdlParser::UT:
            return context == SourceSymbols::VirtualParameterBlock ? add(SourceSymbols::Text, 1, false) : -1;
        case WdlParser::APF:
        case WdlParser::CLF:
            return context == SourceSymbols::DriveParameterBlock ? add(SourceSymbols::Filter, 1, false) : -1;
        case WdlParser::CL:
            return context == SourceSymbols::ChoiceParameterBlock ? add(SourceSymbols::ChoiceList, 1, true) : -1;
        case WdlParser::WS:
            return context != SourceSymbols::OverlayBlock ? add(SourceSymbols::Script, 1, true) : -1;
        default:
            return -1;
        }
    default:
        return -1;
    }
}

// <mnemonic> <operand> <operand> <operand>: what each operand names comes from
// the command table, as the validator reads it.
void Scanner::classifyScriptLine()
{
    const QVector<SourceSymbols::Token> &tokens = m_info->tokens;
    if (tokens.isEmpty())
        return;
    const int code = ScriptCommandTable::code(tokens.first().text);
    if (code < 0)
        return;
    const ScriptCommandTable::Row row = ScriptCommandTable::row(code);
    for (int i = 0; i < 3; ++i) {
        const Kind kind = SourceSymbols::kindOf(row.operands[i]);
        if (kind == SourceSymbols::NoKind || i + 1 >= tokens.size())
            continue;
        // A copy operand's setups in brackets are no part of the id.
        const QString &text = tokens.at(i + 1).text;
        const int bracket = text.indexOf(QLatin1Char('['));
        const bool isCopy = row.operands[i] == Operand::CopySource || row.operands[i] == Operand::CopyTarget;
        add(kind, i + 1, false, isCopy && bracket >= 0 ? text.size() - bracket : 0);
    }
}

// Whether the lossless layer's words are the words of a script line: they
// split at any white space, a script at blanks only.
bool wordsAreBlankSeparated(const WdlSourceFile::Line &line)
{
    if (line.quoteStart >= 0)
        return false;
    for (int i = line.codeStart; i < line.codeEnd; ++i) {
        const uchar c = uchar(line.raw.at(i));
        if (c >= 0x80 || (c < 0x20 && c != '\r'))
            return false;
    }
    return true;
}

// The column of the line's first character of code: where its first word
// starts, or, when the code starts with a quote, where the decoded line
// first holds something other than white space.
int firstCodeColumn(const WdlSourceFile::Line &line)
{
    if (!line.words.isEmpty())
        return line.words.first().column - 1;
    const QString text = line.text();
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

// The line's words in its context. Most lines are split from the lossless
// layer's words, decoded once already; a script line with other white space
// than blanks, or a quote, is decoded again.
QVector<SourceSymbols::Token> tokensOf(const WdlSourceFile::Line &line, Context context)
{
    if (context == SourceSymbols::ScriptBlock && !wordsAreBlankSeparated(line))
        return SourceSymbols::tokens(line.code(), firstCodeColumn(line), context);
    QVector<SourceSymbols::Token> out;
    out.reserve(line.words.size());
    for (const WdlSourceFile::Word &word : line.words) {
        const int column = word.column - 1;
        if (context == SourceSymbols::TopLevel || context == SourceSymbols::ScriptBlock) {
            out.append(SourceSymbols::Token{word.text, column, column + int(word.text.size())});
            continue;
        }
        // In a block a colon separates words too.
        int start = 0;
        while (start <= word.text.size()) {
            int end = word.text.indexOf(QLatin1Char(':'), start);
            if (end < 0)
                end = word.text.size();
            if (end > start)
                out.append(SourceSymbols::Token{word.text.mid(start, end - start), column + start, column + end});
            start = end + 1;
        }
    }
    return out;
}

} // namespace

SourceSymbols::Kind SourceSymbols::kindOf(Operand operand)
{
    switch (operand) {
    case Operand::Parameter:
    case Operand::QuietParameter:
    case Operand::CopySource:
    case Operand::CopyTarget:
        return SourceSymbols::AnyParameter;
    case Operand::DriveOrVirtualParameter:
        return SourceSymbols::Parameter;
    case Operand::LocalFirstParameter:
        return SourceSymbols::LocalFirstParameter;
    case Operand::LocalParameter:
        return SourceSymbols::LocalParameter;
    case Operand::Screen:
        return SourceSymbols::Screen;
    case Operand::Script:
        return SourceSymbols::Script;
    case Operand::Filter:
    case Operand::ChoiceFilter:
        return SourceSymbols::Filter;
    case Operand::CsivName:
    case Operand::CsivPath:
        return SourceSymbols::Text;
    default:
        return SourceSymbols::NoKind;
    }
}

QVector<SourceSymbols::Token> SourceSymbols::tokens(const QString &code, int firstColumn, Context context)
{
    QVector<Token> out;
    const auto isSeparator = [context](QChar c) {
        if (context == ScriptBlock)
            return c == QLatin1Char(' ');
        return c.isSpace() || (context != TopLevel && c == QLatin1Char(':'));
    };
    int size = code.size();
    if (context != ScriptBlock) {
        const int quote = code.indexOf(QLatin1Char('"'));
        if (quote >= 0)
            size = quote;
    }
    int i = 0;
    while (i < size) {
        while (i < size && isSeparator(code.at(i)))
            ++i;
        const int start = i;
        while (i < size && !isSeparator(code.at(i)))
            ++i;
        if (i > start)
            out.append(Token{code.mid(start, i - start), firstColumn + start, firstColumn + i});
    }
    return out;
}

SourceSymbols SourceSymbols::scan(const WdlSourceFile &file)
{
    SourceSymbols symbols;
    const QVector<WdlSourceFile::Line> &lines = file.lines();
    symbols.m_lines.resize(lines.size());
    symbols.m_firstOnLine.resize(lines.size() + 1);
    QVector<Block> stack;
    Block pending{OtherBlock, -1, -1};

    const auto close = [&](int lastLine) {
        const Block block = stack.takeLast();
        if (block.head >= 0)
            symbols.m_occurrences[block.head].lastLine = lastLine;
    };

    for (int i = 0; i < lines.size(); ++i) {
        const WdlSourceFile::Line &line = lines.at(i);
        LineInfo &info = symbols.m_lines[i];
        symbols.m_firstOnLine[i] = symbols.m_occurrences.size();
        const bool isCode = line.kind == WdlSourceFile::Code;
        info.isBrace = line.kind == WdlSourceFile::OpenBrace || line.kind == WdlSourceFile::CloseBrace;
        // A closing brace stands at its head's depth: it ends the block.
        while (stack.size() > line.depth)
            close(line.kind == WdlSourceFile::CloseBrace ? i : qMax(0, i - 1));
        // A block opens with the first line inside it; a blank one too, so
        // that completion there knows the block.
        while (!info.isBrace && stack.size() < line.depth) {
            stack.append(pending);
            pending = Block{OtherBlock, -1, -1};
        }
        if (line.kind == WdlSourceFile::Blank || line.kind == WdlSourceFile::CommentOnly || info.isBrace) {
            info.context = stack.isEmpty() ? TopLevel : stack.constLast().context;
            info.scriptTag = stack.isEmpty() ? -1 : stack.constLast().scriptTag;
            continue;
        }
        const Context context = stack.isEmpty() ? TopLevel : stack.constLast().context;
        info.context = context;
        info.scriptTag = stack.isEmpty() ? -1 : stack.constLast().scriptTag;
        info.hasQuote = line.quoteStart >= 0;
        info.tokens = tokensOf(line, context);
        int parent = -1;
        for (int b = stack.size() - 1; b >= 0 && parent < 0; --b)
            parent = stack.at(b).head;
        Scanner scanner(&info, i, &symbols.m_occurrences, parent);
        const int head = isCode ? scanner.classify(context) : -1;
        const int keyword = keywordOf(info.tokens, context);
        if (context == TopLevel && keyword == WdlParser::INCLUDE && info.tokens.size() >= 2) {
            const Token &name = info.tokens.at(1);
            symbols.m_includes.append(Include{name.text, i, name.start, name.end});
        }
        const Context opened = info.tokens.size() >= 2 ? blockOf(context, keyword) : OtherBlock;
        pending = Block{opened, head, opened == ScriptBlock ? keyword : -1};
    }
    while (!stack.isEmpty())
        close(qMax(0, int(lines.size()) - 1));
    symbols.m_firstOnLine[lines.size()] = symbols.m_occurrences.size();
    return symbols;
}

int SourceSymbols::occurrenceAt(int line, int column) const
{
    if (line < 0 || line >= m_lines.size())
        return -1;
    for (int i = m_firstOnLine.at(line); i < m_firstOnLine.at(line + 1); ++i) {
        const Occurrence &o = m_occurrences.at(i);
        if (column >= o.start && column <= o.end)
            return i;
    }
    return -1;
}

QVector<int> SourceSymbols::occurrencesOn(int line) const
{
    QVector<int> out;
    if (line < 0 || line >= m_lines.size())
        return out;
    for (int i = m_firstOnLine.at(line); i < m_firstOnLine.at(line + 1); ++i)
        out.append(i);
    return out;
}
