#include "dialogs/InputValueDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace moque::ui {

namespace {
const QString kindInteger = QStringLiteral("INTEGER");
const QString kindDouble = QStringLiteral("DOUBLE");
} // namespace

QString InputValueDialog::normaliseKind(const QString &kind)
{
    const QString k = kind.trimmed().toUpper();
    if (k == QLatin1String("INT") || k == QLatin1String("INTEGER"))
        return kindInteger;
    if (k == QLatin1String("FLOAT") || k == QLatin1String("REAL") || k == QLatin1String("DOUBLE"))
        return kindDouble;
    return QStringLiteral("STRING");
}

InputValueDialog::InputValueDialog(const QString &prompt, const QString &defaultValue, const QString &kind,
                               QWidget *parent)
    : QDialog(parent)
    , m_kind(normaliseKind(kind))
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmInputValue"));
    setObjectName(QStringLiteral("frmInputValue"));
    setWindowTitle(QStringLiteral("用户输入"));

    m_prompt = new QLabel(prompt, this);
    m_prompt->setObjectName(QStringLiteral("lbPrompt"));
    m_prompt->setWordWrap(true);

    m_value = new QComboBox(this);
    m_value->setObjectName(QStringLiteral("cbValue"));
    m_value->setEditable(true);
    m_value->setCompleter(nullptr);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    m_value->setMaxVisibleItems(20);
    if (m_kind == kindInteger) {
        m_value->lineEdit()->setMaxLength(7);
        m_value->addItems({QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("20"),
                           QStringLiteral("25"), QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("100"),
                           QStringLiteral("200"), QStringLiteral("500"), QStringLiteral("1000")});
    }
    // Set after the list: adding the first item would otherwise put "2" into the box.
    m_value->setEditText(defaultValue);
    // Typed keys reach the box, which has the focus and hands them to its line
    // edit directly; watch both so that no key slips past the kind's filter.
    m_value->installEventFilter(this);
    m_value->lineEdit()->installEventFilter(this);
    connect(m_value->lineEdit(), &QLineEdit::textEdited, this, &InputValueDialog::keepAllowed);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lbMessage"));
    m_message->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("确 定(&Y)"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &InputValueDialog::confirm);
    auto *cancel = new QPushButton(QStringLiteral("取 消(&C)"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(cancel, &QPushButton::clicked, this, &InputValueDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_value);
    layout->addWidget(m_message);
    layout->addStretch();
    layout->addLayout(buttons);

    setFixedSize(360, 200);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QString InputValueDialog::giveMeAnValue(QWidget *parent, const QString &prompt, const QString &defaultValue,
                                      const QString &kind)
{
    InputValueDialog dialog(prompt, defaultValue, kind, parent);
    dialog.exec();
    return dialog.isCancelled() ? QString() : dialog.value();
}

QString InputValueDialog::value() const
{
    return m_value->currentText();
}

void InputValueDialog::confirm()
{
    const QString text = m_value->currentText().trimmed();
    m_value->setEditText(text);
    if (text.isEmpty()) {
        m_message->setText(QStringLiteral("请输入正确的值，不能为空"));
        return;
    }
    m_cancelled = false;
    accept();
}

void InputValueDialog::reject()
{
    m_cancelled = true;
    QDialog::reject();
}

void InputValueDialog::done(int result)
{
    if (m_cancelled)
        m_value->setEditText(QString());
    QDialog::done(result);
}

void InputValueDialog::showEvent(QShowEvent *event)
{
    m_cancelled = true;
    m_value->setFocus();
    QDialog::showEvent(event);
}

bool InputValueDialog::allowedChar(QChar c) const
{
    if (m_kind == kindInteger)
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (m_kind == kindDouble)
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    return true;
}

QString InputValueDialog::refusedKeyMessage() const
{
    return m_kind == kindInteger ? QStringLiteral("提示：只能输入数字,谢谢！")
                                 : QStringLiteral("提示:只能输入数字及点(如: 12.5 )！");
}

bool InputValueDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched != m_value && watched != m_value->lineEdit()) || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        confirm();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Backspace:
        m_message->clear();
        return false;
    default:
        break;
    }

    // Keys that type nothing (arrows, Delete, Ctrl+V) are not filtered; what they paste is.
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    for (QChar c : text) {
        if (!allowedChar(c)) {
            m_message->setText(refusedKeyMessage());
            return true;
        }
    }
    m_message->clear();
    return false;
}

void InputValueDialog::keepAllowed(const QString &text)
{
    QLineEdit *edit = m_value->lineEdit();
    QString kept;
    int cursor = edit->cursorPosition();
    for (int i = 0; i < text.size(); ++i) {
        if (allowedChar(text.at(i)))
            kept += text.at(i);
        else if (i < edit->cursorPosition())
            --cursor;
    }
    if (kept == text)
        return;
    edit->setText(kept);
    edit->setCursorPosition(cursor);
    m_message->setText(refusedKeyMessage());
}

} // namespace moque::ui
