#ifndef WDLC_WDLTOKEN_H
#define WDLC_WDLTOKEN_H

#include <QByteArray>
#include <QObject>
#include <QString>

class LeWriter;

// The base of every wizard item: its id, how many other items refer to it, its
// 16-bit number within its kind and the line where it was defined.
//
// The three virtuals come in this order on purpose: the editor's bindings
// depend on their slot order after QObject's.
class WdlToken : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString id READ id WRITE setId NOTIFY idChanged)
public:
    explicit WdlToken(const QString &id);

    // The number under which the item is written to the image and referred to.
    Q_INVOKABLE virtual quint16 getIndex() const;
    // The item's WDL text; inScreen when it is written inside a screen block.
    virtual QString toString(bool inScreen) const;
    // The item's record in the image, written by writeRecord.
    virtual QByteArray toByteArray() const;
    // Appends the item's record to out, so that the image builder writes
    // every record straight into the image and its field names reach an
    // annotated dump.
    virtual void writeRecord(LeWriter &out) const;

    QString id() const { return m_id; }
    // Emits idChanged on every write, also when the value stays the same.
    void setId(const QString &id);
    // Counts the ids set on any item since the program started: an index by
    // id is current while the count is what it was when it was built. One
    // count for all, where a connection per item would cost more memory than
    // many an item.
    static quint64 idChanges() { return s_idChanges; }

    int referenceCount() const { return m_referenceCount; }
    void addReference() { ++m_referenceCount; }

    quint16 itemNumber() const { return m_itemNumber; }
    void setItemNumber(quint16 number) { m_itemNumber = number; }

    int sourceLine() const { return m_sourceLine; }
    void setSourceLine(int line) { m_sourceLine = line; }

signals:
    void idChanged();

private:
    static quint64 s_idChanges;

    QString m_id;
    int m_referenceCount = 0;
    quint16 m_itemNumber = 0;
    int m_sourceLine = 0;
};

// Raises the reference count of an item that is being referred to; null is ignored.
inline void addReferenceTo(WdlToken *item)
{
    if (item)
        item->addReference();
}

// The item number of a referenced item for a record field; 0 when there is none.
inline quint16 indexOrZero(const WdlToken *item)
{
    return item ? item->getIndex() : 0;
}

#endif
