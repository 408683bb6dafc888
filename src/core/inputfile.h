#ifndef WDLC_INPUTFILE_H
#define WDLC_INPUTFILE_H

#include <QtGlobal>

class BuildInputs;
class QByteArray;
class QFile;
class QString;

// The files a build reads (WDL files, translation files, CSIV files) and the
// images wdltool reads: only regular files, and never more than the build's
// budget, so that a FIFO, a device or a runaway file can neither hang a build
// nor exhaust memory. A file is opened without waiting and judged by the
// descriptor opened, so that nothing swapped in after a check by name is ever
// read. A file refused here counts as one that cannot be opened.
class InputFile
{
public:
    // The most any one file may hold, also outside a build.
    static constexpr qint64 kMaxSize = qint64(256) << 20;

    // Reads the whole file at path into contents, never more than kMaxSize
    // nor what inputs has left, even when the file grows while it is read,
    // and notes it in inputs. False when refused or unreadable; error (when
    // given) then says why.
    static bool read(const QString &path, QByteArray *contents, BuildInputs *inputs = nullptr,
                     QString *error = nullptr);
    // Opens file (by its name) for reading on the same terms, noting its size
    // at the open in inputs. For readers that pull the device themselves;
    // the file is opened from a descriptor, so Qt forgets its name.
    static bool open(QFile &file, BuildInputs *inputs = nullptr);
};

#endif
