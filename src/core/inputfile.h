#ifndef WDLC_INPUTFILE_H
#define WDLC_INPUTFILE_H

#include <QtGlobal>

class QFile;

// The files a build reads (WDL files, translation files, CSIV files): only
// regular files, and none beyond a size no wizard comes near, so that a FIFO,
// a device or a runaway file can neither hang the build nor exhaust memory.
// A file refused here counts as one that cannot be opened.
class InputFile
{
public:
    static constexpr qint64 kMaxSize = qint64(256) << 20;

    // Opens file for reading when its name is a regular file (or a link to
    // one) of at most kMaxSize bytes.
    static bool open(QFile &file);
};

#endif
