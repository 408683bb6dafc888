// The I/O floor of a compile: a Qt program that reads the same input files in
// full and writes the same number of bytes to each output, atomically and
// synced as wdlc writes them (QSaveFile), and does nothing else.
// Usage: wdlc_iofloor [--huge-pages] [--out PATH BYTES]... INPUT...
// With --huge-pages, a large output is built in a buffer backed by huge pages,
// as wdlc builds its image: the floor of a program that uses the same hint.

#include "base/hugepages.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    qint64 read = 0;
    bool hugePages = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--huge-pages")) {
            hugePages = true;
            continue;
        }
        if (args.at(i) == QLatin1String("--out") && i + 2 < args.size()) {
            QSaveFile out(args.at(i + 1));
            const int size = args.at(i + 2).toInt();
            QByteArray bytes;
            bytes.reserve(size);
            if (hugePages)
                HugePages::advise(bytes.constData(), size);
            bytes.fill('\x5A', size);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
                std::fprintf(stderr, "wdlc_iofloor: cannot write %s\n", qPrintable(args.at(i + 1)));
                return 1;
            }
            i += 2;
            continue;
        }
        QFile in(args.at(i));
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "wdlc_iofloor: cannot read %s\n", qPrintable(args.at(i)));
            return 1;
        }
        read += in.readAll().size();
    }
    return read >= 0 ? 0 : 1;
}
