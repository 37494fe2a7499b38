#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// 导入商品: picks a spreadsheet (.xlsx, .xls, .csv) and adds its rows to the
// goods catalogue, with the choice of how an entry counts as already there.
// A large sheet shows its progress, and its 取消 leaves the catalogue as it was.
class GoodsImportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GoodsImportDialog(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Whether an import stored at least one entry (the catalogue lists again then).
    bool imported() const { return m_imported; }

private:
    void browse();
    void startImport();

    moque::app::AppCore &m_core;
    QLineEdit *m_file = nullptr;
    QPushButton *m_start = nullptr;
    QCheckBox *m_askOnDuplicate = nullptr;
    QRadioButton *m_byNameOnly = nullptr;
    QLabel *m_status = nullptr;
    bool m_imported = false;
};

} // namespace moque::ui
