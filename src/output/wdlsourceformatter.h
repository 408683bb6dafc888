#ifndef WDLC_WDLSOURCEFORMATTER_H
#define WDLC_WDLSOURCEFORMATTER_H

#include <QByteArray>

class WdlSourceFile;

// Lays one WDL file out in the house layout and keeps everything else the
// author wrote: every comment beside its line, INCLUDE lines, the order of
// items and of lines. It changes only what the reader cannot see: three
// blanks of indentation per block, one blank between words and after the
// colon of a tag inside a block, none at the ends of a line, LF line ends and
// a final one, one blank line at most between lines, and the spelling of a
// header version whose numbers stay the same. Text from a line's first double
// quote on is never touched, and in a script's block only blanks are, since a
// script reads a tab as part of its word.
//
// Each line is rewritten only when the reader's view of it (its words, item
// words, tag, quoted text, script words) stays the same; else it keeps its
// own spelling and only moves to its indentation.
class WdlSourceFormatter
{
public:
    enum BlankLines {
        CollapseBlankLines, // runs of blank lines become one, none at the ends of the file or of a block
        KeepLineNumbers     // every line stays where it is, so that warnings keep their line numbers
    };

    static QByteArray format(const WdlSourceFile &file, BlankLines blankLines = CollapseBlankLines);
};

#endif
