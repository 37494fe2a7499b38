#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The upgrade window (墨雀软件升级包): checks that the data directory can be
// upgraded, backs the data file up and brings it and the package skeleton to
// this version's structure, showing the progress.
class UpgradeWindow : public QDialog
{
    Q_OBJECT
public:
    explicit UpgradeWindow(app::AppCore &core, QWidget *parent = nullptr);

    // The backup the last upgrade made of the data file; empty before one.
    QString backupFile() const { return m_backupFile; }

private:
    void browse();
    void checkEnvironment();
    void startUpgrade();

    app::AppCore &m_core;
    QString m_version;
    QString m_backupFile;
    QComboBox *m_appFile = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_start = nullptr;
};

} // namespace moque::ui
