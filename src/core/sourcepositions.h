#ifndef WDLC_SOURCEPOSITIONS_H
#define WDLC_SOURCEPOSITIONS_H

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

// Where the lines that made an item stand: the file (named as warnings name
// it, so an included file's own name) and the line in that file, with the
// word the line is about. Items keep only the line of their head in the
// top-level file, as the image and the editor expect; this record keeps the
// rest for the tools that point authors at their lines. Nothing that wdlc
// writes depends on it.
struct SourcePosition
{
    QString file;
    int line = 0;
    // The word of the line the position is about (an id, a number, an
    // action), when one is; a column is found from it.
    QString word;

    bool isKnown() const { return line > 0; }
    SourcePosition about(const QString &otherWord) const { return {file, line, otherWord}; }
};

class SourcePositions
{
public:
    // What line of an item a position is for. Every line that sets a field
    // is kept, in the order read, so that a field set twice shows both lines.
    enum Field {
        Head,
        // In a screen: NS, and the NSS or WS line that chooses the next screen.
        NextScreen,
        NextScreenScript,
        // In a VP.
        Min,
        Max,
        Val,
        Scale,
        UnitText,
        // In a choice list: each line starred as the default.
        DefaultChoice,
        // The T and H lines that give a text its text or help.
        TextLine,
        HelpLine,
        // In an overlay: the line of each of the eight keys, OverlayKey + key.
        OverlayKey,
        // In the header: the line of each tag, HeaderTag + the tag's flag index.
        HeaderTag = OverlayKey + 8,
        // In a script: its commands, Command + the command's index.
        Command = HeaderTag + 16
    };

    void note(const void *subject, int field, const SourcePosition &position);
    // Every line noted for subject's field, in the order read.
    QList<SourcePosition> all(const void *subject, int field) const;
    // The first of them; for a field never noted, the subject's head line.
    SourcePosition at(const void *subject, int field = Head) const;
    void clear() { m_positions.clear(); }

private:
    // Looked up only, never walked: no order shows anywhere.
    // Kept in vectors: a list would hold each position in an allocation of
    // its own, and a wizard may have millions.
    QHash<QPair<const void *, int>, QVector<SourcePosition>> m_positions;
};

#endif
