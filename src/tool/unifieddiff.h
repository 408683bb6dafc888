#ifndef WDLC_UNIFIEDDIFF_H
#define WDLC_UNIFIEDDIFF_H

#include <QByteArray>
#include <QString>

// The difference of two texts line by line, in the unified format of
// "diff -u" with three lines of context, headed "--- a/NAME" and
// "+++ b/NAME". The lines come from Myers' shortest edit script; past a
// few thousand edits the middle of the files is given as removed and added
// whole, so that no input takes quadratic memory.
class UnifiedDiff
{
public:
    // Empty when the texts are equal.
    static QByteArray diff(const QByteArray &before, const QByteArray &after, const QString &name);
};

#endif
