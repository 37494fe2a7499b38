#include "batch/BatchListModel.h"

#include "batch/BatchList.h"

namespace moque::ui {

BatchListModel::BatchListModel(QSqlDatabase db, QObject *parent) : SqlListModel(parent), m_db(db)
{
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_edits.clear(); });
}

Qt::ItemFlags BatchListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = SqlListModel::flags(index);
    if (index.isValid() && fieldName(index.column()).compare(keyColumn(), Qt::CaseInsensitive) != 0)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant BatchListModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const auto edited = m_edits.constFind({index.row(), index.column()});
        if (edited != m_edits.constEnd())
            return *edited;
    }
    return SqlListModel::data(index, role);
}

bool BatchListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return true;
    const qint64 id = fieldValue(index.row(), keyColumn()).toLongLong();
    QString error;
    if (!batch::BatchList(m_db).setCell(id, fieldName(index.column()), text, &error)) {
        Q_EMIT cellRefused(error);
        return false;
    }
    m_edits.insert({index.row(), index.column()}, text);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    Q_EMIT cellStored();
    return true;
}

} // namespace moque::ui
