#include "refdata/GoodEntryDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::Good;
using refdata::GoodsCatalog;

GoodEntryDialog::GoodEntryDialog(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    setObjectName(QStringLiteral("frm_GoodInfo"));
    setWindowTitle(QStringLiteral("商品详细资料"));

    const GoodsCatalog catalog(core.db());
    m_name = lineEdit("edtName");
    m_shortCode = lineEdit("edtShortCode", 12);
    m_modelNo = lineEdit("edtModelNo");
    m_modelNo->setPlaceholderText(QStringLiteral("（如：T60/WSDC）"));
    m_articleNo = lineEdit("edtArticleNo");
    m_unit = comboBox("cbUnit", catalog.units());
    m_price = lineEdit("edtPrice");
    m_wholesalePrice = lineEdit("edtWholesalePrice");
    for (QLineEdit *e : {m_price, m_wholesalePrice})
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), e));
    m_category = comboBox("cbCategory", catalog.categories());
    m_remark = lineEdit("edtRemark", 100);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setColumnMinimumWidth(1, 200);
    grid->setColumnMinimumWidth(3, 200);
    int row = 0;
    auto add = [&](const QString &caption, QWidget *box, int column, int span = 1) {
        grid->addWidget(new QLabel(caption, this), row, column * 2, Qt::AlignRight);
        grid->addWidget(box, row, column * 2 + 1, 1, span);
    };
    add(QStringLiteral("* 商品名："), m_name, 0, 3);
    ++row;
    add(QStringLiteral("输入快捷码："), m_shortCode, 0);
    add(QStringLiteral("规格型号："), m_modelNo, 1);
    ++row;
    add(QStringLiteral("货号："), m_articleNo, 0);
    add(QStringLiteral("单位："), m_unit, 1);
    ++row;
    add(QStringLiteral("价格："), m_price, 0);
    add(QStringLiteral("批价："), m_wholesalePrice, 1);
    ++row;
    add(QStringLiteral("分类："), m_category, 0);
    ++row;
    add(QStringLiteral("其他备注："), m_remark, 0, 3);

    auto *note = new QLabel(QStringLiteral("注意:*号为必填项;"), this);
    note->setObjectName(QStringLiteral("lbNote"));
    m_addNext = new QCheckBox(QStringLiteral("客户保存后立即新增"), this);
    m_addNext->setObjectName(QStringLiteral("cbAddNext"));
    auto *options = new QHBoxLayout;
    options->addWidget(note);
    options->addStretch(1);
    options->addWidget(m_addNext);

    QPushButton *saveButton = commandButton(QStringLiteral("保  存(&S)"), QStringLiteral("btSave"), this);
    QPushButton *saveClose = commandButton(QStringLiteral("保存并关闭"), QStringLiteral("btSaveClose"), this);
    QPushButton *clearButton = commandButton(QStringLiteral("置  空(&N)"), QStringLiteral("btClear"), this);
    QPushButton *copyButton = commandButton(QStringLiteral("副  本(&C)"), QStringLiteral("btCopy"), this);
    copyButton->setToolTip(QStringLiteral("副本保存需修改银行账号"));
    QPushButton *closeButton = commandButton(QStringLiteral("关  闭(&X)"), QStringLiteral("btClose"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {saveButton, saveClose, clearButton, copyButton, closeButton})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(4);
    layout->addLayout(options);
    layout->addLayout(buttons);

    connect(saveButton, &QPushButton::clicked, this, &GoodEntryDialog::save);
    connect(saveClose, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(clearButton, &QPushButton::clicked, this, &GoodEntryDialog::clearEntry);
    connect(copyButton, &QPushButton::clicked, this, &GoodEntryDialog::makeCopy);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *GoodEntryDialog::lineEdit(const char *name, int maxLength)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->installEventFilter(this);
    return e;
}

QComboBox *GoodEntryDialog::comboBox(const char *name, const QStringList &items)
{
    auto *c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentText(QString());
    // The combo box takes the focus for its line edit and hands it on past any filter.
    c->installEventFilter(this);
    c->lineEdit()->installEventFilter(this);
    return c;
}

bool GoodEntryDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *combo = qobject_cast<QComboBox *>(watched);
    auto *edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    } else if (edit && event->type() == QEvent::MouseButtonDblClick) {
        edit->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void GoodEntryDialog::setGood(const Good &good)
{
    m_id = good.id;
    m_name->setText(good.name);
    m_shortCode->setText(good.shortCode);
    m_modelNo->setText(good.model);
    m_articleNo->setText(good.articleNo);
    m_unit->setCurrentText(good.unit);
    m_price->setText(good.price);
    m_wholesalePrice->setText(good.wholesalePrice);
    m_category->setCurrentText(good.category);
    m_remark->setText(good.remark);
}

Good GoodEntryDialog::good() const
{
    Good g;
    g.id = m_id;
    g.name = m_name->text();
    g.shortCode = m_shortCode->text();
    g.model = m_modelNo->text();
    g.articleNo = m_articleNo->text();
    g.unit = m_unit->currentText();
    g.price = m_price->text();
    g.wholesalePrice = m_wholesalePrice->text();
    g.category = m_category->currentText();
    g.remark = m_remark->text();
    return g;
}

bool GoodEntryDialog::save()
{
    Good g = good();
    const QString refusal = GoodsCatalog::refusal(g);
    QString message;
    const bool stored = GoodsCatalog(m_core.db()).save(g, &message);
    if (!refusal.isEmpty()) {
        m_core.dialogs().warning(message);
        (g.name.isEmpty() ? m_name : m_price)->setFocus();
        return false;
    }
    if (!message.isEmpty())
        m_core.dialogs().info(message);
    m_category->setCurrentText(g.category);
    if (stored)
        Q_EMIT saved();
    if (m_addNext->isChecked())
        clearEntry();
    return stored;
}

void GoodEntryDialog::clearEntry()
{
    for (QLineEdit *e : {m_name, m_shortCode, m_modelNo, m_articleNo, m_price, m_wholesalePrice, m_remark})
        e->clear();
    m_unit->setCurrentText(QString());
    m_name->setFocus();
}

void GoodEntryDialog::makeCopy()
{
    m_id = 0;
    m_name->setFocus();
}

} // namespace moque::ui
