#ifndef WDLC_OUTPUTFILE_H
#define WDLC_OUTPUTFILE_H

#include <QByteArray>
#include <QFlags>
#include <QString>

class BuildInputs;

// The one writer of every file the project writes. A file is written whole or
// not at all: the data goes to a new file beside the target, every count,
// the sync and the close are checked, and only then does it take the
// target's name; on any failure the new file goes and the target stays as it
// was. A target that is a symbolic link stays one: the file it names is
// replaced. Refused outright: a target that is one of the files the build
// read, through whatever link (compared by device and inode), and an existing
// target that is no regular file, which would block (a FIFO) or be lost (a
// device replaced by a plain file).
class OutputFile
{
public:
    enum Option {
        NoOption = 0x0,
        // An existing character device or FIFO (/dev/null, a terminal, a
        // pipe), or a path through a descriptor link such as /dev/stdout, is
        // written directly and never replaced: the tools' -o.
        WriteDevicesDirectly = 0x1,
        // Where no file can be made beside the target (a directory that may
        // not be written, holding a file that may), an existing target is
        // rewritten in place rather than left stale: the warnings file.
        RewriteInPlaceAsLastResort = 0x2
    };
    Q_DECLARE_FLAGS(Options, Option)

    // False when path could not be written or was refused; error then says
    // why. inputs, when given, are the files the target must not be.
    static bool write(const QString &path, const QByteArray &data, QString *error, const BuildInputs *inputs = nullptr,
                      Options options = NoOption);
    // Which of inputs the target path is, through any link; empty for none.
    // For a refusal that must come before anything is written.
    static QString inputAt(const QString &path, const BuildInputs &inputs);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(OutputFile::Options)

#endif
