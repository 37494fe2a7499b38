#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QStringListModel;
class QTableView;
class QPushButton;

namespace moque::app {
class AppCore;
}
namespace moque::refdata {
class DictionaryValueModel;
}

namespace moque::ui {

// The dictionary window ("墨雀软件-字典管理"): the drop-down lists of one
// template (or of all templates) and their values. Value edits stay pending
// until 保存并刷新, and are stored as well before another list is shown and
// when the window closes.
class DictionaryWindow : public QDialog
{
    Q_OBJECT
public:
    using Exporter = std::function<void(QTableView *, const QString &)>;

    DictionaryWindow(moque::app::AppCore &core, int templateId, QWidget *parent = nullptr);

    // The export button hands the value grid and a title to the exporter; it
    // is hidden while none is set.
    void setExporter(Exporter exporter);

    int currentTemplateId() const { return m_templateId; }
    QString currentName() const { return m_name; }

    void done(int result) override;

private Q_SLOTS:
    void templateChosen(int index);
    void addDictionary();
    void appendValue();
    void editEntry();
    void deleteEntry();
    void saveValues();
    void exportList();

private:
    void loadNames();
    void nameChosen(const QString &name);
    void loadValues();
    // Stores pending value edits; false (after a message) when they could not be stored.
    bool storePending();

    moque::app::AppCore &m_core;
    int m_templateId = 0;
    QString m_name;
    Exporter m_exporter;
    QComboBox *m_templates = nullptr;
    QStringListModel *m_nameModel = nullptr;
    QListView *m_names = nullptr;
    QComboBox *m_nameBox = nullptr;
    QLabel *m_valuesLabel = nullptr;
    QCheckBox *m_showCommon = nullptr;
    refdata::DictionaryValueModel *m_values = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_export = nullptr;
};

} // namespace moque::ui
