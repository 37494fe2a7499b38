#include "refdata/GoodsImportDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/GoodsImport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace moque::ui {

namespace {

// From this many data rows on an import shows its progress.
constexpr int largeSheetRows = 500;

} // namespace

GoodsImportDialog::GoodsImportDialog(app::AppCore &core, QWidget *parent) : QDialog(parent), m_core(core)
{
    setObjectName(QStringLiteral("panelImport"));
    setWindowTitle(QStringLiteral("导入商品"));
    m_status = new QLabel(QStringLiteral("导入准备就绪！"), this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("edtFile"));
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(320);
    QPushButton *browse = commandButton(QStringLiteral("浏览.."), QStringLiteral("btBrowse"), this);
    m_start = commandButton(QStringLiteral("开始导入"), QStringLiteral("btStart"), this);
    m_start->setEnabled(false);
    QPushButton *done = commandButton(QStringLiteral("完  成"), QStringLiteral("btDone"), this);
    m_askOnDuplicate = new QCheckBox(QStringLiteral("发现重复记录，请提示我"), this);
    m_askOnDuplicate->setObjectName(QStringLiteral("ckAsk"));
    m_byNameOnly = new QRadioButton(QStringLiteral("仅仅依据商品名判断是否重复"), this);
    m_byNameOnly->setObjectName(QStringLiteral("rbNameOnly"));
    auto *byNameAndModel = new QRadioButton(QStringLiteral("依据商品名和品牌型号判断是否重复"), this);
    byNameAndModel->setObjectName(QStringLiteral("rbNameAndModel"));
    byNameAndModel->setChecked(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请选择Excel数据文件来源："), this));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    layout->addWidget(m_askOnDuplicate);
    layout->addWidget(m_byNameOnly);
    layout->addWidget(byNameAndModel);
    layout->addWidget(m_status);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(done);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &GoodsImportDialog::browse);
    connect(m_start, &QPushButton::clicked, this, &GoodsImportDialog::startImport);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

void GoodsImportDialog::browse()
{
    const QString file = m_core.dialogs().openFileName(QStringLiteral("导入商品"),
                                                       QStringLiteral("表格文件 (*.xlsx *.xls *.csv)"));
    if (file.isEmpty())
        return;
    m_file->setText(file);
    m_start->setEnabled(true);
}

void GoodsImportDialog::startImport()
{
    // A large sheet shows its progress at once; its 取消 rolls the whole import back.
    std::unique_ptr<QProgressDialog> progress;
    const auto report = [this, &progress](int done, int total) {
        if (total < largeSheetRows)
            return true;
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("正在导入商品..."), QStringLiteral("取消"),
                                                         0, total, this);
            progress->setObjectName(QStringLiteral("progressImport"));
            progress->setWindowTitle(QStringLiteral("导入商品"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
        }
        // A few hundred steps move the bar smoothly; more would only cost time.
        if (done == total || done % std::max(1, total / 200) == 0)
            progress->setValue(done);
        return !progress->wasCanceled();
    };

    refdata::GoodsImport import(m_core.db(), m_core.dialogs());
    const refdata::GoodsImportResult result =
        import.importFile(m_file->text(), {m_byNameOnly->isChecked(), m_askOnDuplicate->isChecked()}, report);
    progress.reset();
    m_imported = m_imported || result.stored > 0;
    if (!result.valid) {
        // A sheet without the needed titles or a file that cannot be read: choose another.
        m_start->setEnabled(false);
        m_status->setText(result.message == refdata::GoodsImport::headerFailure()
                              ? QStringLiteral("验证数据文件失败,请重新选择有效的数据文件！")
                              : result.message);
        m_core.dialogs().message(result.message, QStringLiteral("导入商品"), Dialogs::Icon::Warning);
        return;
    }
    if (result.cancelled) {
        m_status->setText(result.message);
        return;
    }
    m_status->setText(QStringLiteral("导入结束！"));
    m_core.dialogs().message(result.message, QStringLiteral("导入结束"), Dialogs::Icon::Information);
}

} // namespace moque::ui
