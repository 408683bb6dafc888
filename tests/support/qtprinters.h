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
    QStringList unexpected = actual;
    QStringList missing;
    for (const QString &line : expected) {
        if (!unexpected.removeOne(line))
            missing.append(line);
    }
    auto failure = ::testing::AssertionFailure();
    if (missing.isEmpty() && unexpected.isEmpty())
        failure << "the same warnings in another order\n";
    for (const QString &m : missing)
        failure << "missing:    " << m.toStdString() << '\n';
    for (const QString &u : unexpected)
        failure << "unexpected: " << u.toStdString() << '\n';
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
