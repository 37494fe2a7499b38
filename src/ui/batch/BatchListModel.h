#pragma once

#include "store/SqlListModel.h"

#include <QHash>
#include <QPair>

namespace moque::ui {

// The rows of the batch print list, editable in place: an edited cell is
// stored in ReceiverList at once and shown as stored until the list is read
// again. ID stays read-only.
class BatchListModel : public SqlListModel
{
    Q_OBJECT
public:
    explicit BatchListModel(QSqlDatabase db, QObject *parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // A cell was stored.
    void cellStored();
    // A cell could not be stored, with the engine's reason.
    void cellRefused(const QString &reason);

private:
    QSqlDatabase m_db;
    // Stored edits over the rows as last read, by row and column.
    QHash<QPair<int, int>, QString> m_edits;
};

} // namespace moque::ui
