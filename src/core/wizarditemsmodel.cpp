#include "core/wizarditemsmodel.h"

#include "items/wdltoken.h"

int WizardItemsModel::rowCount(const QModelIndex &) const
{
    return m_items.size();
}

QVariant WizardItemsModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (row < 0 || row >= m_items.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_items.at(row)->id();
    case WizardItemRole:
        return QVariant::fromValue(m_items.at(row));
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> WizardItemsModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(WizardItemRole, "wizarditem");
    return names;
}

void WizardItemsModel::addItem(WdlToken *item)
{
    const int row = m_items.size();
    beginInsertRows(QModelIndex(), row, row);
    m_items.append(item);
    item->setItemNumber(quint16(m_items.size()));
    if (m_indexedAt == WdlToken::idChanges() && !m_firstRowById.contains(item->id()))
        m_firstRowById.insert(item->id(), row);
    endInsertRows();
}

bool WizardItemsModel::containsId(const QString &id) const
{
    return itemById(id) != nullptr;
}

WdlToken *WizardItemsModel::itemById(const QString &id) const
{
    if (m_indexedAt != WdlToken::idChanges())
        rebuildIndex();
    const auto it = m_firstRowById.constFind(id);
    return it == m_firstRowById.constEnd() ? nullptr : m_items.at(it.value());
}

void WizardItemsModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_firstRowById.clear();
    m_indexedAt = WdlToken::idChanges();
    endResetModel();
}

void WizardItemsModel::rebuildIndex() const
{
    m_firstRowById.clear();
    for (int row = 0; row < m_items.size(); ++row) {
        const QString id = m_items.at(row)->id();
        if (!m_firstRowById.contains(id))
            m_firstRowById.insert(id, row);
    }
    m_indexedAt = WdlToken::idChanges();
}
