#pragma once

#include "batch/ColumnMatching.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The recipient import ("墨雀软件-收、发件人资料导入"): reads a spreadsheet's
// first row as titles, matches them to the items by the stored aliases, lets
// the user correct every match and imports the rows into the batch print list
// or the address book, with the duplicate checks and the import log. The
// target is fixed by whoever opens the window.
class RecipientImportWindow : public QDialog
{
    Q_OBJECT
public:
    RecipientImportWindow(moque::app::AppCore &core, batch::ImportTarget target, QWidget *parent = nullptr);

    batch::ImportTarget target() const { return m_target; }
    // Whether an import stored at least one row (the lists behind reload then).
    bool importedAny() const { return m_importedAny; }

    // The columns the match boxes hold now, with the order number and member
    // ID found by the automatic matching.
    batch::ColumnMapping currentMapping() const;

Q_SIGNALS:
    // Rows went into the target's table.
    void imported();

protected:
    void done(int result) override;

private:
    QGroupBox *buildFileArea();
    QGroupBox *buildCommonMatches();
    QGroupBox *buildTargetMatches();
    QGroupBox *buildDuplicateArea();
    QLayout *buildCommands();
    QComboBox *addMatchBox(QGridLayout *grid, int index, int perRow, const QString &item, const QString &label,
                           const char *name);

    void browse();
    void openFile(const QString &path);
    void loadSheet(int index);
    void fillBoxes();
    void matchAutomatically();
    void applyPartyTypeFixed();
    void selectColumn(QComboBox *box, int column);
    void startImport();
    void openLog();
    void openAliasEditor();
    void setAllCriteria(bool on);

    moque::app::AppCore &m_core;
    const batch::ImportTarget m_target;
    QString m_fileName;
    QStringList m_sheetNames;
    QList<QStringList> m_rows;
    QList<batch::SheetTitle> m_titles;
    // Found by the automatic matching only: they have no box.
    batch::ColumnMapping m_hiddenMatches;
    QHash<QString, QComboBox *> m_boxes;
    bool m_importedAny = false;
    bool m_stopRequested = false;

    QLineEdit *m_file = nullptr;
    QComboBox *m_sheet = nullptr;
    QComboBox *m_partyType = nullptr;
    QCheckBox *m_partyTypeFixed = nullptr;
    QCheckBox *m_checkDuplicates = nullptr;
    QCheckBox *m_byFullName = nullptr;
    QCheckBox *m_byContact = nullptr;
    QCheckBox *m_byPhone = nullptr;
    QCheckBox *m_askOnDuplicate = nullptr;
    QCheckBox *m_showLog = nullptr;
    QCheckBox *m_orderIdOn = nullptr;
    QCheckBox *m_memberIdOn = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_log = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace moque::ui
