#ifndef WDLC_TESTS_HEXDUMP_H
#define WDLC_TESTS_HEXDUMP_H

#include <QByteArray>

#include <string>

// Sixteen bytes a line behind their offset: comparing two dumps makes
// GoogleTest print a line diff, so a mismatch shows where it lies.
inline std::string hexDump(const QByteArray &bytes)
{
    std::string out;
    for (int at = 0; at < bytes.size(); at += 16) {
        out += QByteArray::number(at).rightJustified(6).toStdString() + ": ";
        out += bytes.mid(at, 16).toHex(' ').toStdString() + '\n';
    }
    return out;
}

#endif
