#ifndef WDLC_TESTS_GOLDEN_H
#define WDLC_TESTS_GOLDEN_H

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Compares text output with a golden file under tests/data/. With
// WDLC_UPDATE_GOLDEN=1 the file is rewritten from the output instead; review
// that diff like code. A mismatch names the first differing line.
inline ::testing::AssertionResult matchesGolden(const QString &actual, const QString &relativePath)
{
    const QString path = QStringLiteral(WDLC_TEST_DATA "/") + relativePath;
    if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(actual.toUtf8()) < 0)
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString();
    const QString expected = QString::fromUtf8(file.readAll());
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const QStringList a = actual.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    int line = 0;
    while (line < a.size() && line < e.size() && a.at(line) == e.at(line))
        ++line;
    return ::testing::AssertionFailure() << relativePath.toStdString() << ": first difference at line " << line + 1
                                         << "\n  actual:   " << a.value(line).toStdString()
                                         << "\n  expected: " << e.value(line).toStdString()
                                         << "\n(WDLC_UPDATE_GOLDEN=1 rewrites the file)";
}

#endif
