#include "core/inputfile.h"

#include "core/buildinputs.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Opens path without waiting for a writer, as a FIFO would make it wait, and
// checks the descriptor: a regular file of at most limit bytes. Returns the
// descriptor, or -1 with error set.
int openChecked(const QString &path, qint64 limit, struct stat *st, QString *error)
{
    // O_NONBLOCK stays set while reading: it changes nothing for a regular
    // file, and keeps a file that only claims to be one from blocking.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        fail(error, qt_error_string(errno));
        return -1;
    }
    QString why;
    if (::fstat(fd, st) != 0)
        why = qt_error_string(errno);
    else if (!S_ISREG(st->st_mode))
        why = QStringLiteral("not a regular file");
    else if (st->st_size > limit)
        why = QStringLiteral("larger than the ") + QString::number(limit)
              + QStringLiteral(" bytes that the build may still read");
    if (why.isEmpty())
        return fd;
    ::close(fd);
    fail(error, why);
    return -1;
}

qint64 limitFor(const BuildInputs *inputs)
{
    return inputs ? qMin(InputFile::kMaxSize, inputs->remaining()) : InputFile::kMaxSize;
}

} // namespace

bool InputFile::read(const QString &path, QByteArray *contents, BuildInputs *inputs, QString *error)
{
    const qint64 limit = limitFor(inputs);
    struct stat st;
    const int fd = openChecked(path, limit, &st, error);
    if (fd < 0)
        return false;
    // Sized by the descriptor and read until the end: a file that grows is
    // read on, in chunks, up to one byte past the limit, which refuses it.
    QByteArray bytes(int(st.st_size), Qt::Uninitialized);
    char chunk[1 << 16];
    qint64 got = 0;
    QString why;
    for (;;) {
        const bool inPlace = got < bytes.size();
        char *to = inPlace ? bytes.data() + got : chunk;
        const size_t room = inPlace ? size_t(bytes.size() - got) : sizeof chunk;
        const ssize_t n = ::read(fd, to, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = qt_error_string(errno);
            break;
        }
        if (n == 0)
            break;
        if (!inPlace) {
            if (got + n > limit) {
                why = QStringLiteral("grew past the ") + QString::number(limit)
                      + QStringLiteral(" bytes that the build may still read");
                break;
            }
            bytes.append(chunk, int(n));
        }
        got += n;
    }
    ::close(fd);
    if (!why.isEmpty())
        return fail(error, why);
    bytes.resize(int(got));
    *contents = bytes;
    if (inputs)
        inputs->add(quint64(st.st_dev), quint64(st.st_ino), got, path);
    return true;
}

bool InputFile::open(QFile &file, BuildInputs *inputs)
{
    struct stat st;
    const int fd = openChecked(file.fileName(), limitFor(inputs), &st, nullptr);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (inputs)
        inputs->add(quint64(st.st_dev), quint64(st.st_ino), st.st_size, file.fileName());
    return true;
}
