#ifndef WDLC_SOURCESYMBOLS_H
#define WDLC_SOURCESYMBOLS_H

#include "items/scriptcommandtable.h"

#include <QString>
#include <QVector>

class WdlSourceFile;

// Where the ids of one WDL file stand, as an editor needs them: each word that
// names an item, with its kind, its line and its columns, whether the line
// declares the item or refers to it, and the block every line is in.
//
// It works on the lossless layer and splits words as the reader does (at the
// top level at white space, in a block also at colons, in a script at blanks
// only); what a line means stays the reader's business: which declaration
// wins, whether an id is defined at all, is told by the items the reader
// made, not here.
class SourceSymbols
{
public:
    enum Kind {
        NoKind,
        Text,
        ChoiceList,
        Filter,
        LocalParameter,
        Parameter,
        Screen,
        Overlay,
        Script,
        // A script operand naming a parameter or a local parameter: which one
        // only the wizard's collections tell. The second prefers the local one.
        AnyParameter,
        LocalFirstParameter
    };

    // The block a line stands in, named after the head that opened it.
    enum Context {
        TopLevel,
        ScreenBlock,
        DriveParameterBlock,
        VirtualParameterBlock,
        ChoiceParameterBlock,
        ChoiceListBlock,
        OverlayBlock,
        ScriptBlock,
        // A block the reader reads no lines of as items (an unknown head's).
        OtherBlock
    };

    // Lines count from 0 and columns in UTF-16 units from 0, as editors count.
    struct Token
    {
        QString text;
        int start = 0;
        int end = 0;
    };

    struct Occurrence
    {
        Kind kind = NoKind;
        QString id;
        int line = 0;
        int start = 0;
        int end = 0;
        // The line may create the item (its head, or a text with its text).
        bool declares = false;
        // The occurrence that heads the block this one stands in, or -1.
        int parent = -1;
        // For a block's head: the line of the brace that closes it (else the head's own line).
        int lastLine = 0;
    };

    struct Include
    {
        QString name;
        int line = 0;
        int start = 0;
        int end = 0;
    };

    struct LineInfo
    {
        Context context = TopLevel;
        // The script's keyword of a script block's head (WS, NSS, ...), else -1.
        int scriptTag = -1;
        // The line's words as the reader splits them in its context, up to
        // the first double quote outside scripts. Brace lines have none.
        QVector<Token> tokens;
        // The code holds a double quote: what follows it is text.
        bool hasQuote = false;
        bool isBrace = false;
    };

    static SourceSymbols scan(const WdlSourceFile &file);

    const QVector<Occurrence> &occurrences() const { return m_occurrences; }
    const QVector<Include> &includes() const { return m_includes; }
    const QVector<LineInfo> &lines() const { return m_lines; }
    // The occurrence at line and column (a column just past a word counts),
    // or -1.
    int occurrenceAt(int line, int column) const;
    // The occurrences of one line, as indexes.
    QVector<int> occurrencesOn(int line) const;

    // What a script command's operand of this kind names; NoKind for numbers and labels.
    static Kind kindOf(ScriptCommandTable::Operand operand);
    // The words of a line of code in a context, as the reader splits them.
    static QVector<Token> tokens(const QString &code, int firstColumn, Context context);

private:
    QVector<Occurrence> m_occurrences;
    QVector<Include> m_includes;
    QVector<LineInfo> m_lines;
    // Index of the first occurrence of each line, occurrences being in line order.
    QVector<int> m_firstOnLine;
};

#endif
