#ifndef WDLC_TESTS_QTPRINTERS_H
#define WDLC_TESTS_QTPRINTERS_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

// Lets GoogleTest print Qt values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << b.toHex(' ').toUpper().toStdString();
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << "{\n";
    for (const QString &s : list)
        *os << "  " << s.toStdString() << '\n';
    *os << '}';
}
QT_END_NAMESPACE

// Compares two warning lists in full; on a mismatch it names the missing and
// the unexpected warnings apart, then shows both lists.
inline ::testing::AssertionResult sameWarnings(const QStringList &actual, const QStringList &expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    for (const QString &e : expected) {
        if (!actual.contains(e))
            failure << "missing:    " << e.toStdString() << '\n';
    }
    for (const QString &a : actual) {
        if (!expected.contains(a))
            failure << "unexpected: " << a.toStdString() << '\n';
    }
    failure << "actual (in order):\n";
    for (const QString &a : actual)
        failure << "  " << a.toStdString() << '\n';
    failure << "expected (in order):\n";
    for (const QString &e : expected)
        failure << "  " << e.toStdString() << '\n';
    return failure;
}

// Hex of bytes, "01 00 FB", for readable byte comparisons.
inline QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

#endif
