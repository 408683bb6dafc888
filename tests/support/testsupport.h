#ifndef WDLC_TESTS_TESTSUPPORT_H
#define WDLC_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QMetaObject>
#include <QMetaType>
#include <QStringList>
#include <QVariant>

#include <ostream>
#include <string>

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
QT_END_NAMESPACE

// Bytes as "01 00 FB": records compare as text, so a mismatch shows the byte.
inline std::string hex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Test names for INSTANTIATE_TEST_SUITE_P: each row's name.
template<class Row> std::string rowName(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// Compares two warning lists in full; a mismatch names the missing and the
// unexpected warnings apart, then shows both lists.
inline ::testing::AssertionResult sameWarnings(const QStringList &actual, const QStringList &expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    QStringList unexpected = actual;
    auto failure = ::testing::AssertionFailure();
    for (const QString &line : expected) {
        if (!unexpected.removeOne(line))
            failure << "missing:    " << line.toStdString() << '\n';
    }
    for (const QString &line : unexpected)
        failure << "unexpected: " << line.toStdString() << '\n';
    failure << "actual (in order):\n  " << actual.join("\n  ").toStdString() << "\nexpected (in order):\n  "
            << expected.join("\n  ").toStdString();
    return failure;
}

// The editor reaches items only through their meta-objects; these calls go the
// same way. The argument type names come from the meta-type system, so a type
// that moc sees only forward-declared fails here as it would in the editor.
template<class T> QGenericArgument metaArg(const T &value)
{
    return QGenericArgument(QMetaType::typeName(qMetaTypeId<T>()), &value);
}

template<class R, class... Args> R metaCall(QObject *object, const char *method, const Args &...args)
{
    R result{};
    EXPECT_TRUE(QMetaObject::invokeMethod(object, method, Qt::DirectConnection,
                                          QGenericReturnArgument(QMetaType::typeName(qMetaTypeId<R>()), &result),
                                          metaArg(args)...))
        << "cannot invoke " << method;
    return result;
}

template<class... Args> void metaCallVoid(QObject *object, const char *method, const Args &...args)
{
    EXPECT_TRUE(QMetaObject::invokeMethod(object, method, Qt::DirectConnection, metaArg(args)...))
        << "cannot invoke " << method;
}

#endif
