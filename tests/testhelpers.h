#ifndef WDLC_TESTHELPERS_H
#define WDLC_TESTHELPERS_H

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMetaObject>
#include <QMetaType>
#include <QObject>

#include <string>

// Records compare as upper-case hex with blanks, so a mismatch shows the byte.
inline std::string hexBytes(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
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
    const bool invoked = QMetaObject::invokeMethod(
        object, method, Qt::DirectConnection,
        QGenericReturnArgument(QMetaType::typeName(qMetaTypeId<R>()), &result), metaArg(args)...);
    EXPECT_TRUE(invoked) << "cannot invoke " << method;
    return result;
}

template<class... Args> void metaCallVoid(QObject *object, const char *method, const Args &...args)
{
    const bool invoked = QMetaObject::invokeMethod(object, method, Qt::DirectConnection, metaArg(args)...);
    EXPECT_TRUE(invoked) << "cannot invoke " << method;
}

#endif
