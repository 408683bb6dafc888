#ifndef WDLC_WIZARDITEMSMODEL_H
#define WDLC_WIZARDITEMSMODEL_H

#include <QAbstractListModel>
#include <QHash>
#include <QList>

class WdlToken;

// The items of one kind, in insertion order, as a list model for the editor.
// Adding an item gives it its number: its position counted from 1.
//
// Lookups by id go through an index that keeps the first item of each id, so
// that "the first item whose id equals" costs a hash lookup. An item renamed
// through its `id` property marks the index stale; the next lookup rebuilds it.
class WizardItemsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles { WizardItemRole = Qt::UserRole + 1 };

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    void addItem(WdlToken *item);
    WdlToken *itemAt(int i) const { return m_items.at(i); }
    int count() const { return m_items.size(); }
    const QList<WdlToken *> &items() const { return m_items; }

    bool containsId(const QString &id) const;
    WdlToken *itemById(const QString &id) const;
    template<class T> T *byId(const QString &id) const { return static_cast<T *>(itemById(id)); }

    // Empties the list; the items themselves are released by the wizard.
    void clear();

private:
    void rebuildIndex() const;

    QList<WdlToken *> m_items;
    mutable QHash<QString, int> m_firstRowById;
    // WdlToken::idChanges() when the index was built; another count means an
    // item may have been renamed since.
    mutable quint64 m_indexedAt = 0;
};

#endif
