#include "core/outputfile.h"

#include "core/buildinputs.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A longer chain of links is taken for a loop, as the system itself does.
constexpr int kMaxLinkDepth = 40;
constexpr int kTemporaryNameAttempts = 100;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

QString errnoText(int code)
{
    return qt_error_string(code);
}

QString msgIsInput(const QString &input)
{
    return QStringLiteral("it is ") + input + QStringLiteral(", which was read to make it");
}

// Links to a process's descriptors (/dev/stdout, /proc/self/fd/1) name what
// the descriptor is open on, which may be a pipe that no path reaches.
bool isDescriptorLink(const QString &absolutePath)
{
    return absolutePath.startsWith(QLatin1String("/proc/")) || absolutePath.startsWith(QLatin1String("/dev/fd/"));
}

// The file a path names once its symbolic links are followed, existing or
// not: the new file is made beside it and takes its name, so that the links
// stay. The walk stops at a descriptor link, which the system follows itself.
QString finalTarget(const QString &path, bool *throughDescriptor)
{
    QFileInfo info(path);
    *throughDescriptor = false;
    for (int depth = 0; depth < kMaxLinkDepth && info.isSymLink(); ++depth) {
        if (isDescriptorLink(info.absoluteFilePath())) {
            *throughDescriptor = true;
            break;
        }
        info.setFile(info.symLinkTarget());
    }
    *throughDescriptor = *throughDescriptor || isDescriptorLink(info.absoluteFilePath());
    return info.filePath();
}

QString writeAll(int fd, const QByteArray &data, bool positioned)
{
    const char *p = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = positioned ? ::pwrite(fd, p, size_t(left), off_t(p - data.constData()))
                                     : ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errnoText(errno);
        if (n == 0)
            return QStringLiteral("the write came up short");
        p += n;
        left -= n;
    }
    return QString();
}

// A file system that cannot sync says so with EINVAL; every other failure
// means the data may not be there.
QString syncAndClose(int fd)
{
    QString why;
    if (::fdatasync(fd) != 0 && errno != EINVAL)
        why = errnoText(errno);
    if (::close(fd) != 0 && why.isEmpty())
        why = errnoText(errno);
    return why;
}

// A new file beside target, private until it is complete; -1 with errno set
// when none can be made.
int createBeside(const QString &target, mode_t mode, QString *created)
{
    const QFileInfo info(target);
    const QString stem = info.path() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.');
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        QString name = stem;
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
        const int fd = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            *created = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// The last resort of a target whose directory takes no new file: nothing is
// touched unless all of the data fits, by the file-size limit and by the room
// reserved on the disk first, and the old contents past the new end go last.
bool rewriteInPlace(const QString &target, const QByteArray &data, const BuildInputs *inputs, QString *error)
{
    const int fd = ::open(encoded(target).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errnoText(errno));
    QString why;
    struct stat st;
    struct rlimit limit;
    if (::fstat(fd, &st) != 0)
        why = errnoText(errno);
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("not a regular file");
    else if (inputs && !inputs->pathOf(quint64(st.st_dev), quint64(st.st_ino)).isEmpty())
        why = msgIsInput(inputs->pathOf(quint64(st.st_dev), quint64(st.st_ino)));
    else if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
             && rlim_t(data.size()) > limit.rlim_cur)
        why = errnoText(EFBIG);
    else if (!data.isEmpty() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(data.size())) != 0 && errno != EOPNOTSUPP
             && errno != ENOSYS)
        why = errnoText(errno);
    if (why.isEmpty())
        why = writeAll(fd, data, true);
    if (why.isEmpty() && ::ftruncate(fd, off_t(data.size())) != 0)
        why = errnoText(errno);
    if (why.isEmpty())
        why = syncAndClose(fd);
    else
        ::close(fd);
    return why.isEmpty() || fail(error, why);
}

bool replace(const QString &target, const QByteArray &data, const struct stat *existing, const BuildInputs *inputs,
             OutputFile::Options options, QString *error)
{
    QString temporary;
    const int fd = createBeside(target, existing ? 0600 : 0666, &temporary);
    if (fd < 0) {
        const int cause = errno;
        if (cause == EACCES && existing && options.testFlag(OutputFile::RewriteInPlaceAsLastResort))
            return rewriteInPlace(target, data, inputs, error);
        return fail(error, errnoText(cause));
    }
    QString why = writeAll(fd, data, false);
    // As the old file was; a mode that cannot be copied is no reason to fail.
    if (why.isEmpty() && existing)
        (void)::fchmod(fd, existing->st_mode & 07777);
    if (why.isEmpty())
        why = syncAndClose(fd);
    else
        ::close(fd);
    if (why.isEmpty() && ::rename(encoded(temporary).constData(), encoded(target).constData()) != 0)
        why = errnoText(errno);
    if (why.isEmpty())
        return true;
    ::unlink(encoded(temporary).constData());
    return fail(error, why);
}

// Opened without waiting, as a FIFO without a reader would make it wait, and
// judged by the descriptor: a file swapped in since the check is not written.
bool writeDirectly(const QString &path, const QByteArray &data, bool throughDescriptor, QString *error)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errnoText(errno));
    QString why;
    struct stat st;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0)
        why = errnoText(errno);
    else if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && !throughDescriptor))
        why = QStringLiteral("it changed while it was written");
    else if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        why = errnoText(errno);
    if (why.isEmpty())
        why = writeAll(fd, data, false);
    if (::close(fd) != 0 && why.isEmpty())
        why = errnoText(errno);
    return why.isEmpty() || fail(error, why);
}

} // namespace

bool OutputFile::write(const QString &path, const QByteArray &data, QString *error, const BuildInputs *inputs,
                       Options options)
{
    bool throughDescriptor = false;
    const QString target = finalTarget(path, &throughDescriptor);
    struct stat st;
    const bool exists = ::stat(encoded(target).constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return fail(error, errnoText(errno));
    if (exists) {
        const QString input = inputs ? inputs->pathOf(quint64(st.st_dev), quint64(st.st_ino)) : QString();
        if (!input.isEmpty())
            return fail(error, msgIsInput(input));
        const bool device = S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode);
        if (options.testFlag(WriteDevicesDirectly) && (device || (throughDescriptor && S_ISREG(st.st_mode))))
            return writeDirectly(target, data, throughDescriptor, error);
        if (!S_ISREG(st.st_mode))
            return fail(error, QStringLiteral("not a regular file"));
    }
    return replace(target, data, exists ? &st : nullptr, inputs, options, error);
}

QString OutputFile::inputAt(const QString &path, const BuildInputs &inputs)
{
    bool throughDescriptor = false;
    struct stat st;
    if (::stat(encoded(finalTarget(path, &throughDescriptor)).constData(), &st) != 0)
        return QString();
    return inputs.pathOf(quint64(st.st_dev), quint64(st.st_ino));
}
