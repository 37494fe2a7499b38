#pragma once

#include "refdata/GoodsCatalog.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The goods editor ("商品详细资料"): every text of one catalogue entry.
// Saving without an ID stores a new entry or rewrites the one of the same
// name and model (规格); 副  本 drops the ID so that the next save does so.
class GoodEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GoodEntryDialog(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Shows the entry's texts; its ID is what the next save rewrites (none when 0).
    void setGood(const refdata::Good &good);
    // The entry the boxes describe, as 保  存 stores it.
    refdata::Good good() const;

    // 保  存: stores the entry and shows the outcome; true when stored.
    bool save();
    // 置  空: empties every box but the category; the ID stays.
    void clearEntry();
    // 副  本: the next save stores the texts as an entry of their own.
    void makeCopy();

Q_SIGNALS:
    // An entry was written to the catalogue.
    void saved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *lineEdit(const char *name, int maxLength = 0);
    QComboBox *comboBox(const char *name, const QStringList &items);

    moque::app::AppCore &m_core;
    qint64 m_id = 0;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_shortCode = nullptr;
    QLineEdit *m_modelNo = nullptr;
    QLineEdit *m_articleNo = nullptr;
    QComboBox *m_unit = nullptr;
    QLineEdit *m_price = nullptr;
    QLineEdit *m_wholesalePrice = nullptr;
    QComboBox *m_category = nullptr;
    QLineEdit *m_remark = nullptr;
    QCheckBox *m_addNext = nullptr;
};

} // namespace moque::ui
