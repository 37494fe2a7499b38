#include "app/UpgradeWindow.h"

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "common/Dialogs.h"
#include "templates/DatabaseUpgrade.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace moque::ui {

namespace {
const QString chooseProgram = QStringLiteral("请选择..");
} // namespace

UpgradeWindow::UpgradeWindow(app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_version(app::getAppVersion(2))
{
    setObjectName(QStringLiteral("frmUp2NewVersion"));
    setWindowTitle(QStringLiteral("墨雀软件升级包"));
    auto *layout = new QVBoxLayout(this);

    auto *heading = new QLabel(QStringLiteral("升级到V") + m_version, this);
    heading->setObjectName(QStringLiteral("lbTitle"));
    QFont f = heading->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    heading->setFont(f);
    layout->addWidget(heading);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("主程序:"), this));
    m_appFile = new QComboBox(this);
    m_appFile->setObjectName(QStringLiteral("cbAppFile"));
    m_appFile->setEditable(false);
    m_appFile->addItem(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    fileRow->addWidget(m_appFile, 1);
    auto *browseButton = new QPushButton(QStringLiteral("浏览"), this);
    browseButton->setObjectName(QStringLiteral("btBrowse"));
    fileRow->addWidget(browseButton);
    layout->addLayout(fileRow);

    auto *notes = new QPlainTextEdit(this);
    notes->setObjectName(QStringLiteral("mmNotes"));
    notes->setReadOnly(true);
    notes->setPlainText(QStringLiteral(
        "本升级包把旧版本的数据文件（Data/EPData.ini）和模板样本（Data/Template.a01）升级到当前版本：\n"
        "1、补齐新版本需要的数据表和字段（模板、打印项目、字段字典、批量打印列表、快递单历史等）；\n"
        "2、补充快递单的新字段（体积、代收金额、各项费用、勾选项、自定义3-5），统一字段编码的大小写和控件类型；\n"
        "3、补填模板种类，把常用快递公司的模板和默认模板设为常用模板；\n"
        "4、记录当前的软件版本。\n"
        "升级前先把数据文件备份为 Data/EPData.ini.bak-日期时间；升级要么全部完成，要么不改动数据文件，"
        "原有的模板、单据和资料都会保留。"));
    layout->addWidget(notes, 1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 150);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_message = new QLabel(QStringLiteral("进度:"), this);
    m_message->setObjectName(QStringLiteral("lbMessage"));
    layout->addWidget(m_message);

    auto *buttons = new QHBoxLayout;
    auto *checkButton = new QPushButton(QStringLiteral("升级环境检测"), this);
    checkButton->setObjectName(QStringLiteral("btCheck"));
    m_start = new QPushButton(QStringLiteral("3、开始升级"), this);
    m_start->setObjectName(QStringLiteral("btStart"));
    auto *closeButton = new QPushButton(QStringLiteral("4、关   闭"), this);
    closeButton->setObjectName(QStringLiteral("btClose"));
    buttons->addWidget(checkButton);
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(browseButton, &QPushButton::clicked, this, &UpgradeWindow::browse);
    connect(checkButton, &QPushButton::clicked, this, &UpgradeWindow::checkEnvironment);
    connect(m_start, &QPushButton::clicked, this, &UpgradeWindow::startUpgrade);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    // The window keeps the focus while it is shown, so that it is not lost behind the main window.
    auto *focus = new QTimer(this);
    focus->setInterval(2000);
    connect(focus, &QTimer::timeout, this, [this] {
        if (isVisible())
            activateWindow();
    });
    focus->start();

    setMaximumSize(580, 430);
    resize(560, 400);
}

void UpgradeWindow::browse()
{
    const QString file = m_core.dialogs().openFileName(QStringLiteral("选择主程序"), QString());
    if (file.isEmpty())
        return;
    const QString name = QDir::toNativeSeparators(file);
    if (m_appFile->findText(name) < 0)
        m_appFile->addItem(name);
    m_appFile->setCurrentText(name);
}

void UpgradeWindow::checkEnvironment()
{
    m_start->setEnabled(true);
    Dialogs &dialogs = m_core.dialogs();
    const QString program = m_appFile->currentText().trimmed();
    if (program.isEmpty() || program == chooseProgram) {
        dialogs.info(QStringLiteral("请选择墨雀快递打印软件的主运行程序(例如:D:/墨雀打印/墨雀V927.exe)~"));
        return;
    }
    if (!QFileInfo(program).isFile()) {
        dialogs.info(QStringLiteral("主程序文件无效~"));
        return;
    }
    // On Linux the data lives in the data directory, not beside the program.
    const QFileInfo dataFile(m_core.dir().dataFile());
    if (!dataFile.isFile() || !dataFile.isWritable() || !QFileInfo(dataFile.absolutePath()).isWritable()) {
        dialogs.info(QStringLiteral("主程序数据文件无效，请重新选择符合完整的主程序文件~"));
        return;
    }
    dialogs.info(QStringLiteral("环境OK，可以升级~"));
}

void UpgradeWindow::startUpgrade()
{
    m_start->setEnabled(false);
    Dialogs &dialogs = m_core.dialogs();
    templates::DatabaseUpgrade upgrade(m_core.db(), m_core.dir().packageSkeleton(), m_version);
    // A user's data is precious: the file as it was stays beside it.
    if (upgrade.isNeeded()) {
        m_backupFile = templates::DatabaseUpgrade::backUpDataFile(m_core.dir().dataFile());
        if (m_backupFile.isEmpty()) {
            dialogs.error(QStringLiteral("升级失败，意外错误:无法备份数据文件 ")
                          + QDir::toNativeSeparators(m_core.dir().dataFile()));
            m_start->setEnabled(true);
            return;
        }
    }
    upgrade.setProgress([this](int position, int maximum, const QString &text) {
        m_progress->setMaximum(maximum);
        m_progress->setValue(position);
        m_message->setText(text);
    });
    const bool done = upgrade.run();
    m_start->setEnabled(true);
    dialogs.info(upgrade.message());
    if (done)
        accept();
}

} // namespace moque::ui
