#include "app/OnlinePanel.h"

#include "app/AppVersion.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace moque::ui {

OnlinePanel::OnlinePanel(QWidget *parent)
    : QDockWidget(QStringLiteral("在线中心"), parent)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmOnlinePanel"));
    setObjectName(QStringLiteral("pnlOnline"));
    setFeatures(QDockWidget::DockWidgetClosable);
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    m_browser = new QTextBrowser(body);
    m_browser->setObjectName(QStringLiteral("browserOnline"));
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser);
    auto *hide = new QPushButton(QStringLiteral("今日不再显示"), body);
    hide->setObjectName(QStringLiteral("btHideToday"));
    connect(hide, &QPushButton::clicked, this, &OnlinePanel::hideForTodayRequested);
    layout->addWidget(hide);
    setWidget(body);
    setMinimumWidth(230);
    showPage(Page::Welcome);
}

void OnlinePanel::showPage(Page page)
{
    m_page = page;
    const QString version = app::getAppVersion(4);
    QString html;
    switch (page) {
    case Page::Welcome:
        html = QStringLiteral("<h3>墨雀票据打印</h3><p>版本 %1</p>"
                              "<p><b>每日提示</b></p><ul>"
                              "<li>打印并保存：打印后自动保存，快递单号清空，可直接填写下一票。</li>"
                              "<li>没有打印机时，选择“PDF”打印机即可核对打印位置。</li>"
                              "<li>位置整体偏移时，用“打印整体偏移调整”修正，不必逐项修改模板。</li>"
                              "</ul>")
                   .arg(version);
        break;
    case Page::Help:
        html = QStringLiteral("<h3>帮助</h3><ol>"
                              "<li>新票据填开：选择票据种类，在票据图片上填写内容。</li>"
                              "<li>单位及客户资料管理：保存常用的寄件方和收件方，填单时用红圈或助记码选取。</li>"
                              "<li>打印设置：锁定针式打印机，调整整体偏移。</li>"
                              "<li>历史开票管理：查询、统计、重新打开和导出已保存的单据。</li>"
                              "<li>设计模式：调整模板上每一项的打印位置、字体和屏幕位置。</li>"
                              "</ol><p>工具栏的“第一次用”列出了开始使用的步骤。</p>");
        break;
    case Page::Upgrade:
        html = QStringLiteral("<h3>在线升级</h3><p>当前版本：%1</p>"
                              "<p>新版本随系统软件源发布，使用系统的软件更新即可升级；"
                              "数据目录中的数据文件、模板和设置在升级后保留。</p>")
                   .arg(version);
        break;
    }
    m_browser->setHtml(html);
}

} // namespace moque::ui
