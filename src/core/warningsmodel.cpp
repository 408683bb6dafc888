#include "core/warningsmodel.h"

#include "core/warning.h"

int WarningsModel::rowCount(const QModelIndex &) const
{
    return m_warnings.size();
}

QVariant WarningsModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (row < 0 || row >= m_warnings.size())
        return QVariant();
    const Warning *w = m_warnings.at(row);
    switch (role) {
    case Qt::DisplayRole:
        return w->text();
    case LineNumberRole:
        return w->lineNumber();
    case FileNameRole:
        return w->fileName();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> WarningsModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(LineNumberRole, "lineNumber");
    names.insert(FileNameRole, "fileName");
    return names;
}

void WarningsModel::appendWarning(Warning *w)
{
    const int row = m_warnings.size();
    beginInsertRows(QModelIndex(), row, row);
    m_warnings.append(w);
    endInsertRows();
}

void WarningsModel::clear()
{
    beginResetModel();
    m_warnings.clear();
    endResetModel();
}
