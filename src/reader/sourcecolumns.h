#ifndef WDLC_SOURCECOLUMNS_H
#define WDLC_SOURCECOLUMNS_H

#include <QHash>
#include <QString>
#include <QStringList>

class SourceOverlay;

// The one place diagnostics get their columns from. The reader counts lines,
// not columns; a diagnostic that knows which word of a line it is about gets
// that word's column here, found among the words of the line's code as the
// reader splits it. Columns count from 1 in UTF-16 units of the line as the
// reader decodes it (what editors and code-scanning services count).
//
// A lossless layer that keeps each word's column while it reads can answer
// in its place: column() is the only entry.
class SourceColumns
{
public:
    explicit SourceColumns(const SourceOverlay *overlay = nullptr) : m_overlay(overlay) {}

    // The column of the first whole occurrence of word in the code of line
    // (counted from 1) of the file at path; 0 when the file cannot be read,
    // or the line does not hold the word before its comment.
    int column(const QString &path, int line, const QString &word);

    // The same within one line's text.
    static int columnInLine(const QString &lineText, const QString &word);

private:
    const SourceOverlay *m_overlay;
    // Each file's physical lines, read once.
    QHash<QString, QStringList> m_files;
};

#endif
