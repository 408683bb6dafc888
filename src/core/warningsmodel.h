#ifndef WDLC_WARNINGSMODEL_H
#define WDLC_WARNINGSMODEL_H

#include <QAbstractListModel>
#include <QList>

class Warning;

// The wizard's warnings, in the order raised, as a list model for the editor.
class WarningsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles { LineNumberRole = Qt::UserRole + 1, FileNameRole };

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    void appendWarning(Warning *w);
    Warning *itemAt(int i) const { return m_warnings.at(i); }
    int count() const { return m_warnings.size(); }
    // Empties the list; the warnings themselves are released by the wizard.
    void clear();

private:
    QList<Warning *> m_warnings;
};

#endif
