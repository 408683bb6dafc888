#ifndef WDLC_WARNINGSINK_H
#define WDLC_WARNINGSINK_H

#include <QString>

// Where the reader, the checks and the image builder report problems. The
// wizard is the one sink of the program; the layers below it know only this.
class WarningSink
{
public:
    virtual ~WarningSink() = default;

    // A problem of the wizard as a whole, or one a check finds after reading:
    // it carries the top-level file's name. The first one announces that the
    // wizard can no longer be saved.
    virtual void addWarning(const QString &text, int line) = 0;
    // A problem in fileName (a name as the warnings file shows it), raised
    // while reading: nothing is announced, the state is announced after the
    // read. subject is the word of the line it is about, or empty.
    virtual void addWarningIn(const QString &fileName, const QString &text, int line, const QString &subject) = 0;
    // The top-level file being read: its name goes with addWarning, and the
    // files a wizard names are found relative to it.
    virtual QString currentFile() const = 0;
};

#endif
