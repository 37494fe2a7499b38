#include "history/WaybillHistoryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/Person.h"
#include "store/SqlListModel.h"
#include "templates/TemplateCatalog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QUrlQuery>

namespace moque::ui {

using history::BoundStatement;
using history::WaybillFilter;
using history::WaybillQuery;

namespace {

const QString partyHint = QStringLiteral("支持简码输入（%+简码）");

HistoryNames waybillNames()
{
    return {QStringLiteral("fmSearch_KDD"),
            QStringLiteral("快递单查询"),
            QStringLiteral("gridKDD"),
            QStringLiteral("KDDView_DBLOPEN"),
            QStringLiteral("开启/关闭鼠标双击列表打开快递单"),
            QStringLiteral("快递单"),
            WaybillQuery::table(),
            WaybillQuery::keyColumn(),
            QStringLiteral("快递单号")};
}

} // namespace

WaybillHistoryWindow::WaybillHistoryWindow(moque::app::AppCore &core, QWidget *parent)
    : HistoryWindow(core, waybillNames(), parent)
{
    start(new SqlListModel(this));
}

QString WaybillHistoryWindow::partyText(const refdata::TPerson &person) const
{
    return person.fullName().isEmpty() ? person.contact() : person.fullName();
}

QGroupBox *WaybillHistoryWindow::buildFilterBar()
{
    QGroupBox *filters = newFilterBox();
    m_receiver = new QLineEdit(filters);
    m_receiver->setObjectName(QStringLiteral("filterSKR"));
    m_sender = new QLineEdit(filters);
    m_sender->setObjectName(QStringLiteral("filterOutComp"));
    for (QLineEdit *edit : {m_receiver, m_sender}) {
        edit->setToolTip(partyHint);
        edit->setPlaceholderText(partyHint);
        edit->installEventFilter(this);
    }
    m_clearReceiver = commandButton(QStringLiteral("清空"), QStringLiteral("btClearSKR"), filters);
    m_pickReceiver = commandButton(QStringLiteral("选"), QStringLiteral("Button2"), filters);
    m_clearSender = commandButton(QStringLiteral("清空"), QStringLiteral("btClearOutComp"), filters);
    m_pickSender = commandButton(QStringLiteral("选"), QStringLiteral("Button3"), filters);

    QHBoxLayout *dates = buildDates(filters);
    buildTemplateFilter(filters);
    buildNumberFilter(filters);
    QGroupBox *match = buildMatchChoice(filters);

    auto *grid = new QGridLayout(filters);
    grid->addWidget(label(QStringLiteral("收件人或单位："), filters), 0, 0);
    grid->addWidget(m_receiver, 0, 1);
    grid->addWidget(m_clearReceiver, 0, 2);
    grid->addWidget(m_pickReceiver, 0, 3);
    grid->addWidget(label(QStringLiteral("寄件人或单位："), filters), 0, 4);
    grid->addWidget(m_sender, 0, 5);
    grid->addWidget(m_clearSender, 0, 6);
    grid->addWidget(m_pickSender, 0, 7);
    grid->addWidget(label(QStringLiteral("寄件日期："), filters), 1, 0);
    grid->addLayout(dates, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("模板种类："), filters), 1, 4);
    grid->addWidget(m_template, 1, 5);
    grid->addWidget(m_clearTemplate, 1, 6);
    grid->addWidget(label(QStringLiteral("快递单号："), filters), 2, 0);
    grid->addWidget(m_number, 2, 1);
    grid->addWidget(match, 2, 4, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return filters;
}

void WaybillHistoryWindow::presetFilters()
{
    HistoryWindow::presetFilters();
    fillOnFirstEntry(m_template);
    m_template->setCurrentIndex(0);
}

void WaybillHistoryWindow::connectFilters()
{
    HistoryWindow::connectFilters();
    connect(m_receiver, &QLineEdit::returnPressed, this, [this] { expandParty(m_receiver); });
    connect(m_sender, &QLineEdit::returnPressed, this, [this] { expandParty(m_sender); });
    connect(m_clearReceiver, &QPushButton::clicked, this, [this] {
        m_receiver->clear();
        markInUse(m_receiver, false);
    });
    connect(m_clearSender, &QPushButton::clicked, this, [this] {
        m_sender->clear();
        markInUse(m_sender, false);
    });
    connect(m_pickReceiver, &QPushButton::clicked, this,
            [this] { pickParty(m_receiver, QStringLiteral("我方单位"), QStringLiteral("选择寄件单位")); });
    connect(m_pickSender, &QPushButton::clicked, this,
            [this] { pickParty(m_sender, QStringLiteral("往来单位"), QStringLiteral("选择发件单位")); });
    connect(m_template, &QComboBox::currentIndexChanged, this, &WaybillHistoryWindow::changedFilterQuery);
}

WaybillFilter WaybillHistoryWindow::filter() const
{
    WaybillFilter f = commonFilter<WaybillFilter>();
    f.sender = m_sender->text();
    f.receiver = m_receiver->text();
    return f.trimmed();
}

BoundStatement WaybillHistoryWindow::takeFilter()
{
    m_filter = filter();
    m_receiver->setText(m_filter.receiver);
    m_sender->setText(m_filter.sender);
    writeBack(m_filter.number, m_filter.templateName);
    return WaybillQuery::listStatement(m_filter, sortColumn());
}

BoundStatement WaybillHistoryWindow::totalsStatement() const
{
    return WaybillQuery::totalsStatement(m_filter);
}

QString WaybillHistoryWindow::totalLabel(const history::Totals &totals) const
{
    return totals.waybillLabel();
}

void WaybillHistoryWindow::showDatabaseError(const QString &statement, const QString &)
{
    Dialogs &dialogs = m_core.dialogs();
    dialogs.message(QStringLiteral("数据库操作错误！"), QStringLiteral("查询"), Dialogs::Icon::Error);
    dialogs.message(statement, QStringLiteral("错误"), Dialogs::Icon::Error);
}

void WaybillHistoryWindow::markFiltersInUse()
{
    markInUse(m_number, !m_filter.number.isEmpty());
    markInUse(m_sender, !m_filter.sender.isEmpty());
    markInUse(m_receiver, !m_filter.receiver.isEmpty());
    markInUse(m_template, !m_filter.templateName.isEmpty());
    markInUse(m_date1, !m_filter.anyDate);
    markInUse(m_date2, !m_filter.anyDate);
}

void WaybillHistoryWindow::clearOwnFilters()
{
    for (QLineEdit *edit : {m_receiver, m_sender}) {
        edit->clear();
        markInUse(edit, false);
    }
}

void WaybillHistoryWindow::expandParty(QLineEdit *edit)
{
    const QString text = edit->text().trimmed();
    edit->setText(text.isEmpty() ? text : history::expandPartyCode(m_core.db(), text));
}

void WaybillHistoryWindow::requestOpen(int row)
{
    const int id = m_model->fieldValue(row, WaybillQuery::keyColumn()).toInt();
    const QString templateName = m_model->fieldValue(row, QStringLiteral("模板种类")).toString();
    Q_EMIT openBillRequested(templateName, id);
}

void WaybillHistoryWindow::supplement(const QString &column, const QString &prompt)
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QVariant key = m_model->fieldValue(row, WaybillQuery::keyColumn());
    const QString current = m_model->fieldValue(row, column).toString();
    const QString value = m_core.dialogs().inputValue(prompt, current, QStringLiteral("STRING"));
    if (value.isEmpty())
        return;
    if (store().supplement(key, column, value))
        refresh();
}

void WaybillHistoryWindow::supplementNumber()
{
    supplement(QStringLiteral("快递单号"), QStringLiteral("补录,输入已发出的快递单号"));
}

void WaybillHistoryWindow::supplementRemark()
{
    supplement(QStringLiteral("备注"), QStringLiteral("补录,输入备注内容:"));
}

void WaybillHistoryWindow::trackCurrentRow()
{
    const int row = currentRow();
    if (row < 0)
        return;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("typekey"), m_model->fieldValue(row, QStringLiteral("模板种类")).toString());
    query.addQueryItem(QStringLiteral("kddno"), m_model->fieldValue(row, QStringLiteral("快递单号")).toString());
    QUrl url(QStringLiteral("/help/kddsearch"));
    url.setQuery(query);
    Q_EMIT trackingRequested(url);
}

void WaybillHistoryWindow::addRowCommands(QMenu &menu)
{
    const bool rows = m_model->rowCount() > 0;
    menu.addAction(QStringLiteral("补录入单号"), this, &WaybillHistoryWindow::supplementNumber)->setEnabled(rows);
    menu.addAction(QStringLiteral("补录备注"), this, &WaybillHistoryWindow::supplementRemark)->setEnabled(rows);
    menu.addAction(QStringLiteral("网上查单"), this, &WaybillHistoryWindow::trackCurrentRow);
}

bool WaybillHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_receiver || watched == m_sender) && event->type() == QEvent::FocusOut && !m_resetting) {
        // Leaving a party filter for another field picks the party from the
        // address book; buttons (清空, 选, 查询, 关闭) act for themselves.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool left = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                          || reason == Qt::MouseFocusReason;
        if (left && !qobject_cast<QAbstractButton *>(QApplication::focusWidget())) {
            auto *edit = static_cast<QLineEdit *>(watched);
            const QString caption = edit == m_receiver ? QStringLiteral("选择收件单位") : QStringLiteral("选择发件单位");
            // After the focus change has finished: the address book is modal.
            QMetaObject::invokeMethod(
                this, [this, edit, caption] { pickParty(edit, QStringLiteral("往来单位"), caption); },
                Qt::QueuedConnection);
        }
    }
    return HistoryWindow::eventFilter(watched, event);
}

} // namespace moque::ui
