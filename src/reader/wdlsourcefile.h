#ifndef WDLC_WDLSOURCEFILE_H
#define WDLC_WDLSOURCEFILE_H

#include <QByteArray>
#include <QString>
#include <QVector>

// One WDL file as its author wrote it: every byte, split into lines, each line
// into indentation, code, comment and words, with the nesting of blocks as the
// reader sees it. bytes() gives the file back byte for byte, whatever it holds
// (CR LF or lone CR, a byte order mark, no final line end, invalid UTF-8, NUL).
//
// The lexical rules are the reader's: a line ends at LF; CR bytes are not part
// of the text; a comment starts at the first "#" or "//", even inside quotes;
// the code is what comes before it, without white space at either end; words
// are separated by white space. Positions are kept as byte offsets into the
// raw line, so that whatever decoding would lose survives a rewrite.
//
// It knows lines, words, comments and braces, not items: which block a script
// is in is told from the head line's keyword only so that a rewrite can keep
// away from the blanks a script reads. What a line means is the reader's alone.
class WdlSourceFile
{
public:
    struct Word
    {
        int start = 0;  // byte offset in the line's raw bytes
        int end = 0;    // one past its last byte
        int column = 1; // 1-based, in UTF-16 units of the line as the reader decodes it
        QString text;
    };

    enum LineKind {
        Blank, // nothing but white space
        CommentOnly,
        Code,      // code, perhaps followed by a comment
        OpenBrace, // code that starts with "{"
        CloseBrace // code that starts with "}"
    };

    struct Line
    {
        int number = 0;    // 1-based, as warnings count lines
        qint64 offset = 0; // of the line's first byte in the file
        QByteArray raw;    // the line without its LF (a CR before it stays here)
        bool hasLineFeed = false;
        LineKind kind = Blank;
        // Byte ranges in raw: the code without blanks at either end, and the
        // comment from its "#" or "//" to the end of the line (empty when none).
        int codeStart = 0;
        int codeEnd = 0;
        int commentStart = -1;
        // The code up to its first double quote, as words; quoteStart is the
        // offset of that quote (-1 without one): from there on the code is text.
        QVector<Word> words;
        int quoteStart = -1;
        // Blocks open around the line as the reader counts them; a brace line
        // stands at the depth of the block head it belongs to.
        int depth = 0;
        // Inside a script's block, where only blanks separate words.
        bool inScript = false;

        bool hasComment() const { return commentStart >= 0; }
        // The line as the reader decodes it (CR bytes dropped).
        QString text() const;
        QString code() const;
        QByteArray codeBytes() const { return raw.mid(codeStart, codeEnd - codeStart); }
        QByteArray commentBytes() const { return hasComment() ? raw.mid(commentStart) : QByteArray(); }
    };

    // What a line of code heads, in either of the reader's views of its
    // keyword (top level: first word without colons; in a block: first word
    // up to a colon), for a line of at least two words.
    enum HeadRole { NoHead, BlockHead, ScriptHead };
    static HeadRole headRole(const QString &code);

    static WdlSourceFile fromBytes(const QByteArray &bytes);
    // The same, taking each line whose bytes equal a line of earlier from
    // there instead of splitting it again: an editor's next version of a file
    // differs from the last in a few lines.
    static WdlSourceFile fromBytes(const QByteArray &bytes, const WdlSourceFile &earlier);
    // False when the file cannot be opened or read.
    static bool read(const QString &path, WdlSourceFile *file);

    QByteArray bytes() const;
    bool hasByteOrderMark() const { return m_byteOrderMark; }
    const QVector<Line> &lines() const { return m_lines; }

private:
    bool m_byteOrderMark = false;
    QVector<Line> m_lines;
    QByteArray m_trailingCr; // CR bytes after the last LF, which make no line
};

#endif
