#ifndef WDLC_ENUMKEYS_H
#define WDLC_ENUMKEYS_H

#include <QHash>
#include <QMetaEnum>
#include <QString>

// Exact, case-sensitive lookup of a published enumeration's keys.
// QMetaEnum::keyToValue would also accept scoped keys ("Class::KEY") and stop
// at an embedded NUL; ids from a wizard file must match a key exactly.
// The keys come from the meta-object alone: this is a cache, not a second list.
class EnumKeys
{
public:
    explicit EnumKeys(const QMetaEnum &e)
    {
        for (int i = 0; i < e.keyCount(); ++i)
            m_values.insert(QString::fromLatin1(e.key(i)), e.value(i));
    }

    // The value of key, or -1 when it is not a key.
    int value(const QString &key) const { return m_values.value(key, -1); }

    template<class E> static const EnumKeys &of()
    {
        static const EnumKeys keys(QMetaEnum::fromType<E>());
        return keys;
    }

private:
    QHash<QString, int> m_values;
};

#endif
