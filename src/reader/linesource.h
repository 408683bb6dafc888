#ifndef WDLC_LINESOURCE_H
#define WDLC_LINESOURCE_H

#include <QString>

class BuildInputs;
class SourceOverlay;

// The physical lines of one WDL file, decoded as UTF-8 (a byte order mark is
// skipped, invalid bytes become replacement characters). The file is read as
// text: every CR is dropped, so a line ends at LF or CR LF, and a lone CR
// neither ends a line nor stays in it. The last line needs no line end.
//
// The whole file is decoded once and read through an offset, so that looking
// ahead and going back costs nothing.
class LineSource
{
public:
    // Reads the file, or the text the overlay holds for it; false when it
    // cannot be opened (a directory cannot) or would overdraw inputs, the
    // budget of the build, where the file is noted.
    bool open(const QString &path, const SourceOverlay *overlay = nullptr, BuildInputs *inputs = nullptr);

    bool atEnd() const { return m_pos >= m_text.size(); }
    QString readLine();
    // Whether the next line that is not blank begins with c; reads nothing.
    bool nextNonBlankLineStartsWith(QChar c) const;

private:
    int lineEnd(int from, int *next) const;

    QString m_text;
    int m_pos = 0;
};

#endif
