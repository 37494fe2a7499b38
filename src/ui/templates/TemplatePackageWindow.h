#pragma once

#include "templates/TemplatePackage.h"

#include <QDialog>
#include <QTemporaryDir>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The package window ("导入、导出票据格式"): imports templates of a template
// package (.tpk) into the data file and exports templates of the data file
// into a new package. Opened with importOnly it shows the import page alone.
class TemplatePackageWindow : public QDialog
{
    Q_OBJECT
public:
    TemplatePackageWindow(moque::app::AppCore &core, bool importOnly, QWidget *parent = nullptr);
    ~TemplatePackageWindow() override;

    // The package file open on the import page.
    const templates::PackageReader &package() const { return m_package; }

Q_SIGNALS:
    // At least one template came into the data file.
    void templatesImported();

protected:
    void done(int result) override;

private:
    QWidget *buildImportPage();
    QWidget *buildExportPage();

    void chooseImportFile();
    void reloadPackageList();
    void startImport();
    void chooseExportFile();
    void reloadInstalledList();
    void startExport();

    // Moves the selected entry (the first one when none is selected) or all entries.
    static void moveOne(QListWidget *from, QListWidget *to);
    static void moveAll(QListWidget *from, QListWidget *to);
    static QStringList texts(const QListWidget *list);

    void previewPackageEntry(QListWidgetItem *item);
    void previewInstalledEntry(QListWidgetItem *item);
    void setImportCommandsEnabled(bool enabled);

    moque::app::AppCore &m_core;
    templates::PackageReader m_package;
    QTemporaryDir m_previews;

    QTabWidget *m_pages = nullptr;
    QLineEdit *m_importFile = nullptr;
    QListWidget *m_packageList = nullptr;
    QListWidget *m_importList = nullptr;
    QCheckBox *m_updateOld = nullptr;
    QCheckBox *m_keepOld = nullptr;
    QPushButton *m_importBrowse = nullptr;
    QPushButton *m_importOne = nullptr;
    QPushButton *m_importAll = nullptr;
    QPushButton *m_importClear = nullptr;
    QPushButton *m_import = nullptr;
    QLabel *m_importProgress = nullptr;

    QListWidget *m_installedList = nullptr;
    QListWidget *m_exportList = nullptr;
    QLineEdit *m_exportFile = nullptr;
    QPushButton *m_export = nullptr;
    QLabel *m_exportProgress = nullptr;
};

} // namespace moque::ui
