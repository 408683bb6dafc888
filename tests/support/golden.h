#ifndef WDLC_TESTS_GOLDEN_H
#define WDLC_TESTS_GOLDEN_H

#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>

// Compares output with the golden file tests/data/<relativePath>. A mismatch
// names the first differing line of a text, or the first differing offset of
// binary data with the bytes around it. With WDLC_UPDATE_GOLDEN=1 the file is
// rewritten from the output instead; review that diff like code.
inline ::testing::AssertionResult matchesGolden(const QByteArray &actual, const QString &relativePath)
{
    const QString path = QStringLiteral(WDLC_TEST_DATA "/") + relativePath;
    if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(actual) == actual.size())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString();
    const QByteArray expected = file.readAll();
    if (actual == expected)
        return ::testing::AssertionSuccess();
    int at = 0;
    while (at < actual.size() && at < expected.size() && actual.at(at) == expected.at(at))
        ++at;
    auto failure = ::testing::AssertionFailure() << relativePath.toStdString() << ": ";
    if (!actual.contains('\0') && !expected.contains('\0')) {
        const int line = expected.left(at).count('\n');
        failure << "first difference at line " << line + 1
                << "\n  actual:   " << actual.split('\n').value(line).toStdString()
                << "\n  expected: " << expected.split('\n').value(line).toStdString();
    } else {
        const int from = qMax(0, at - 8);
        failure << "sizes " << actual.size() << " and " << expected.size() << ", first difference at offset " << at
                << "\n  actual:   " << hex(actual.mid(from, 24)) << "\n  expected: " << hex(expected.mid(from, 24))
                << "\n  (both from offset " << from << ")";
    }
    return failure << "\n(WDLC_UPDATE_GOLDEN=1 rewrites the file)";
}

#endif
