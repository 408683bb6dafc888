// The I/O floor of a compile: a Qt program that reads the same input files in
// full and writes the same number of bytes to each output, atomically and
// synced as wdlc writes them (QSaveFile), and does nothing else.
// Usage: wdlc_iofloor [--out PATH BYTES]... INPUT...

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
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--out") && i + 2 < args.size()) {
            QSaveFile out(args.at(i + 1));
            const QByteArray bytes(args.at(i + 2).toInt(), '\x5A');
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
