#include "templates/TemplatePackageWindow.h"

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "common/Dialogs.h"
#include "designers/ImageViewer.h"
#include "dialogs/CommandButton.h"
#include "grid/GridOperations.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace moque::ui {

namespace {

const QString packageFilter = QStringLiteral("墨雀票据包(*.tpk)");
const QSize previewSize(750, 400);

QListWidget *entryList(const QString &name, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// The two lists with the move buttons between them.
QHBoxLayout *transferRow(QListWidget *from, QListWidget *to, const std::array<QPushButton *, 3> &buttons)
{
    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *b : buttons)
        moves->addWidget(b);
    moves->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(from, 1);
    row->addLayout(moves);
    row->addWidget(to, 1);
    return row;
}

} // namespace

TemplatePackageWindow::TemplatePackageWindow(moque::app::AppCore &core, bool importOnly, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    setObjectName(QStringLiteral("frmBillImportExport"));
    setWindowTitle(QStringLiteral("导入、导出票据格式"));
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcMain"));
    m_pages->addTab(buildImportPage(), QStringLiteral("导入票据格式"));
    if (!importOnly) {
        m_pages->addTab(buildExportPage(), QStringLiteral("导出票据格式"));
        reloadInstalledList();
    }

    auto *close = commandButton(QStringLiteral("完成退出(&X)"), QStringLiteral("btnClose"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(bottom);
    resize(720, 480);
    FormFaceLoad(this, m_core.settings());
}

TemplatePackageWindow::~TemplatePackageWindow() = default;

QWidget *TemplatePackageWindow::buildImportPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsImport"));
    m_importFile = new QLineEdit(QStringLiteral("请选择票据包文件"), page);
    m_importFile->setObjectName(QStringLiteral("edtImportBillsFile"));
    m_importFile->setReadOnly(true);
    m_importBrowse = commandButton(QStringLiteral("浏览.."), QStringLiteral("btnImpBrowse"), page);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("1.票据包："), page));
    fileRow->addWidget(m_importFile, 1);
    fileRow->addWidget(m_importBrowse);

    m_packageList = entryList(QStringLiteral("lstImpFrom"), page);
    m_importList = entryList(QStringLiteral("lstImpSel"), page);
    m_importOne = commandButton(QStringLiteral("->"), QStringLiteral("btnImpAdd"), page);
    m_importAll = commandButton(QStringLiteral("->>"), QStringLiteral("btnImpAddAll"), page);
    m_importClear = commandButton(QStringLiteral("X"), QStringLiteral("btnImpClear"), page);

    m_updateOld = new QCheckBox(QStringLiteral("更新旧版本单据"), page);
    m_updateOld->setObjectName(QStringLiteral("ckUpdateBill"));
    m_updateOld->setChecked(true);
    // The hidden twin always holds the opposite.
    m_keepOld = new QCheckBox(QStringLiteral("保留旧版本"), page);
    m_keepOld->setObjectName(QStringLiteral("ckNewBill"));
    m_keepOld->setVisible(false);
    connect(m_updateOld, &QCheckBox::toggled, m_keepOld, [this](bool on) { m_keepOld->setChecked(!on); });
    m_importProgress = new QLabel(page);
    m_importProgress->setObjectName(QStringLiteral("lblImpProgress"));
    m_import = commandButton(QStringLiteral("3.开始导入(&D)"), QStringLiteral("btnImport"), page);
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_updateOld);
    commands->addWidget(m_keepOld);
    commands->addWidget(m_importProgress, 1);
    commands->addWidget(m_import);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(fileRow);
    layout->addWidget(new QLabel(QStringLiteral("2.选择要导入的票据（双击查看图片）："), page));
    layout->addLayout(transferRow(m_packageList, m_importList, {m_importOne, m_importAll, m_importClear}));
    layout->addLayout(commands);
    setImportCommandsEnabled(false);

    connect(m_importBrowse, &QPushButton::clicked, this, &TemplatePackageWindow::chooseImportFile);
    connect(m_importOne, &QPushButton::clicked, this, [this] {
        moveOne(m_packageList, m_importList);
        m_import->setEnabled(m_importList->count() > 0);
    });
    connect(m_importAll, &QPushButton::clicked, this, [this] {
        moveAll(m_packageList, m_importList);
        m_import->setEnabled(m_importList->count() > 0);
    });
    connect(m_importClear, &QPushButton::clicked, this, [this] {
        m_importList->clear();
        reloadPackageList();
        m_import->setEnabled(false);
    });
    connect(m_import, &QPushButton::clicked, this, &TemplatePackageWindow::startImport);
    connect(m_packageList, &QListWidget::itemDoubleClicked, this, &TemplatePackageWindow::previewPackageEntry);
    connect(m_importList, &QListWidget::itemDoubleClicked, this, &TemplatePackageWindow::previewPackageEntry);
    return page;
}

QWidget *TemplatePackageWindow::buildExportPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsExport"));
    m_installedList = entryList(QStringLiteral("listExpExists"), page);
    m_exportList = entryList(QStringLiteral("ListExpSel"), page);
    auto *one = commandButton(QStringLiteral("->"), QStringLiteral("btnExpAdd"), page);
    auto *all = commandButton(QStringLiteral("->>"), QStringLiteral("btnExpAddAll"), page);
    auto *clear = commandButton(QStringLiteral("X"), QStringLiteral("btnExpClear"), page);

    m_exportFile = new QLineEdit(page);
    m_exportFile->setObjectName(QStringLiteral("edtExportFolder"));
    m_exportFile->setReadOnly(true);
    auto *browse = commandButton(QStringLiteral("2.浏览.."), QStringLiteral("btnExpBrowse"), page);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("导出到："), page));
    fileRow->addWidget(m_exportFile, 1);
    fileRow->addWidget(browse);

    m_exportProgress = new QLabel(page);
    m_exportProgress->setObjectName(QStringLiteral("lblExpProgress"));
    m_export = commandButton(QStringLiteral("3.开始导出(&D)"), QStringLiteral("btnExport"), page);
    m_export->setEnabled(false);
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_exportProgress, 1);
    commands->addWidget(m_export);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("1.选择要导出的票据（双击查看图片）："), page));
    layout->addLayout(transferRow(m_installedList, m_exportList, {one, all, clear}));
    layout->addLayout(fileRow);
    layout->addLayout(commands);

    connect(one, &QPushButton::clicked, this, [this] { moveOne(m_installedList, m_exportList); });
    connect(all, &QPushButton::clicked, this, [this] { moveAll(m_installedList, m_exportList); });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_exportList->clear();
        reloadInstalledList();
        m_export->setEnabled(false);
    });
    connect(browse, &QPushButton::clicked, this, &TemplatePackageWindow::chooseExportFile);
    connect(m_export, &QPushButton::clicked, this, &TemplatePackageWindow::startExport);
    connect(m_installedList, &QListWidget::itemDoubleClicked, this, &TemplatePackageWindow::previewInstalledEntry);
    connect(m_exportList, &QListWidget::itemDoubleClicked, this, &TemplatePackageWindow::previewInstalledEntry);
    return page;
}

void TemplatePackageWindow::setImportCommandsEnabled(bool enabled)
{
    for (QPushButton *b : {m_import, m_importOne, m_importAll, m_importClear})
        b->setEnabled(enabled);
}

void TemplatePackageWindow::moveOne(QListWidget *from, QListWidget *to)
{
    if (from->count() == 0)
        return;
    const int row = from->currentRow() >= 0 ? from->currentRow() : 0;
    to->addItem(from->takeItem(row));
}

void TemplatePackageWindow::moveAll(QListWidget *from, QListWidget *to)
{
    while (from->count() > 0)
        to->addItem(from->takeItem(0));
}

QStringList TemplatePackageWindow::texts(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void TemplatePackageWindow::chooseImportFile()
{
    const QString file = m_core.dialogs().openFileName(QStringLiteral("选择票据包"), packageFilter);
    if (file.isEmpty()) {
        setImportCommandsEnabled(false);
        return;
    }
    if (!templates::PackageReader::isPackageName(file)) {
        m_importFile->clear();
        m_core.dialogs().info(QStringLiteral("请选择标准的墨雀票据包，例如：中国银行进账单.tpk"));
        return;
    }
    m_importFile->setText(file);
    m_packageList->clear();
    m_importList->clear();
    m_importProgress->clear();
    if (!m_package.open(file)) {
        setImportCommandsEnabled(false);
        m_core.settings().file().setValue(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), m_package.errorText());
        m_core.settings().flush();
        m_core.dialogs().warning(m_package.errorText());
        return;
    }
    if (m_package.entries().isEmpty()) {
        setImportCommandsEnabled(false);
        m_core.dialogs().info(QStringLiteral("抱歉,墨雀从包里找不到可用于导入的票据！"));
        return;
    }
    reloadPackageList();
    moveOne(m_packageList, m_importList);
    setImportCommandsEnabled(true);
}

void TemplatePackageWindow::reloadPackageList()
{
    m_packageList->clear();
    if (m_package.isOpen())
        m_packageList->addItems(m_package.fullNames());
}

void TemplatePackageWindow::startImport()
{
    const QStringList names = texts(m_importList);
    if (names.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("请选择要导入的票据！"));
        return;
    }
    templates::PackageImporter importer(m_core.db(), m_core.dialogs(), m_core.dir(), &m_core.settings());
    const templates::TransferCount count =
        importer.importTemplates(m_package, names, m_updateOld->isChecked(), [this](int done, int total, auto *) {
            m_importProgress->setText(QStringLiteral("%1/%2").arg(done).arg(total));
        });
    if (count.done > 0) {
        reloadInstalledList();
        Q_EMIT templatesImported();
    }
    m_core.dialogs().info(templates::PackageImporter::summaryText(count));
}

void TemplatePackageWindow::reloadInstalledList()
{
    if (!m_installedList)
        return;
    m_installedList->clear();
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const QStringList chosen = texts(m_exportList);
    for (const templates::TemplateRow &row : catalog.allTemplates())
        if (!chosen.contains(row.fullName))
            m_installedList->addItem(row.fullName);
}

void TemplatePackageWindow::chooseExportFile()
{
    const QString file = m_core.dialogs().saveFileName(
        QStringLiteral("导出票据包"), templates::PackageExporter::proposedFileName(texts(m_exportList)), packageFilter);
    if (file.isEmpty()) {
        m_export->setEnabled(false);
        return;
    }
    if (!file.contains(QLatin1String(".tpk"), Qt::CaseInsensitive)) {
        m_exportFile->clear();
        m_export->setEnabled(false);
        m_core.dialogs().info(QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.tpk、天地达.tpk"));
        return;
    }
    m_exportFile->setText(file);
    m_export->setEnabled(true);
}

void TemplatePackageWindow::startExport()
{
    const QStringList names = texts(m_exportList);
    if (names.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("还没有选择要导出的票据格式！"));
        return;
    }
    templates::PackageExporter exporter(m_core.db(), m_core.dialogs(), m_core.dir(), app::getAppVersion(2),
                                        &m_core.settings());
    const templates::TransferCount count =
        exporter.exportTemplates(names, m_exportFile->text(), nullptr, [this](int done, int total) {
            m_exportProgress->setText(QStringLiteral("%1/%2").arg(done).arg(total));
        });
    m_core.dialogs().info(templates::PackageExporter::summaryText(count));
}

void TemplatePackageWindow::previewPackageEntry(QListWidgetItem *item)
{
    if (!item || !m_package.isOpen() || !m_previews.isValid())
        return;
    const QString path = m_previews.filePath(QStringLiteral("preview.jpg"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(m_package.pictureBytes(item->text()));
        file.close();
    }
    auto *viewer = new ImageViewer(m_core, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setWindowTitle(QStringLiteral("墨雀软件-模板图片查看【") + item->text() + QStringLiteral("】"));
    viewer->loadPicture(path, previewSize);
    viewer->show();
}

void TemplatePackageWindow::previewInstalledEntry(QListWidgetItem *item)
{
    if (!item)
        return;
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const std::optional<templates::TemplateRow> row = catalog.templateByFullName(item->text());
    auto *viewer = new ImageViewer(m_core, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    if (row && !row->imageFile.trimmed().isEmpty()) {
        viewer->setWindowTitle(QStringLiteral("墨雀软件-模板图片查看【") + item->text() + QStringLiteral("】"));
        viewer->loadPicture(m_core.dir().imageDir() + row->imageFile, previewSize);
    } else {
        viewer->loadPictureByFullName(item->text());
    }
    viewer->show();
}

void TemplatePackageWindow::done(int result)
{
    m_package.close();
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

} // namespace moque::ui
