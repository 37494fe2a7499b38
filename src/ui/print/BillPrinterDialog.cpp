#include "print/BillPrinterDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "designers/PrinterCalibrationWindow.h"
#include "settings/Options.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace moque::ui {

BillPrinterDialog::BillPrinterDialog(app::AppCore &core, const QStringList &printers, PrinterSelector setDefaultPrinter,
                               QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_setDefaultPrinter(std::move(setDefaultPrinter))
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("fmLockPrinter"));
    setObjectName(QStringLiteral("fmLockPrinter"));
    setWindowTitle(QStringLiteral("固定票据打印机"));
    auto *layout = new QVBoxLayout(this);

    auto *caption = new QLabel(QStringLiteral("已安装的打印机："), this);
    layout->addWidget(caption);
    m_printers = new QListWidget(this);
    m_printers->setObjectName(QStringLiteral("lbPrinters"));
    m_printers->addItems(printers);
    m_installed = printers;
    layout->addWidget(m_printers);

    auto *note = new QLabel(QStringLiteral("说明：固定某个票据打印机后，所有的票据打印都会自动选用你所选定的打印机来执行打印任"
                                           "务，除非你打印前手动选择。"),
                            this);
    note->setObjectName(QStringLiteral("lbNote"));
    note->setWordWrap(true);
    layout->addWidget(note);

    auto *buttons = new QHBoxLayout;
    m_lock = new QPushButton(QStringLiteral("锁定该打印机为票据打印机"), this);
    m_lock->setObjectName(QStringLiteral("btLock"));
    m_calibrate = new QPushButton(QStringLiteral("适配打印机整体偏移参数"), this);
    m_calibrate->setObjectName(QStringLiteral("btCalibrate"));
    m_calibrate->setEnabled(!printers.isEmpty());
    auto *done = new QPushButton(QStringLiteral("完成设置"), this);
    done->setObjectName(QStringLiteral("btDone"));
    buttons->addWidget(m_lock);
    buttons->addWidget(m_calibrate);
    buttons->addStretch();
    buttons->addWidget(done);
    layout->addLayout(buttons);

    connect(m_lock, &QPushButton::clicked, this, &BillPrinterDialog::lockPrinter);
    connect(m_calibrate, &QPushButton::clicked, this, &BillPrinterDialog::calibratePrinter);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_printers, &QListWidget::currentRowChanged, this, &BillPrinterDialog::updateButtons);

    const QString stored = core.options().getConfigByname(settings::option::defaultPrinter);
    const auto matches = m_printers->findItems(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!stored.isEmpty() && !matches.isEmpty())
        m_printers->setCurrentItem(matches.first());
    updateButtons();
    resize(520, 360);

    if (printers.isEmpty())
        core.dialogs().info(QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"));
}

QString BillPrinterDialog::chosenPrinter() const
{
    const QListWidgetItem *item = m_printers->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void BillPrinterDialog::updateButtons()
{
    m_lock->setEnabled(m_printers->currentRow() >= 0);
}

void BillPrinterDialog::lockPrinter()
{
    const QString name = chosenPrinter();
    if (name.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("请选择票据打印机！"));
        return;
    }
    m_core.options().setConfigByname(settings::option::defaultPrinter, name);
    if (m_setDefaultPrinter)
        m_setDefaultPrinter(name);
    m_core.dialogs().info(QStringLiteral("默认票据打印机设置成功！"));
}

void BillPrinterDialog::calibratePrinter()
{
    const QString printer = chosenPrinter();
    if (printer.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("请选择要固定的票据打印机！"));
        return;
    }
    PrinterCalibrationWindow window(m_core, m_installed, printer, m_setDefaultPrinter, this);
    window.exec();
    accept();
}

} // namespace moque::ui
