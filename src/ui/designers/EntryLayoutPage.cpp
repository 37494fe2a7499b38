#include "designers/EntryLayoutPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace moque::ui {

using design::Direction;

namespace {

QSpinBox *spinBox(const char *name, int minimum, int maximum, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    return box;
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

EntryLayoutPage::EntryLayoutPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsLayout"));
    auto *grid = new QGridLayout(this);

    m_srcX = spinBox("SrcX", 5, 1000, this);
    m_srcY = spinBox("SrcY", 5, 1000, this);
    m_srcH = spinBox("SrcH", 1, 120, this);
    m_srcW = spinBox("SrcW", 1, 1000, this);
    auto *places = new QFormLayout;
    places->addRow(QStringLiteral("横向X:"), m_srcX);
    places->addRow(QStringLiteral("纵向Y:"), m_srcY);
    auto *sizes = new QFormLayout;
    sizes->addRow(QStringLiteral("输入框高:"), m_srcH);
    sizes->addRow(QStringLiteral("输入框宽:"), m_srcW);
    grid->addLayout(places, 0, 0);
    grid->addLayout(sizes, 0, 1);
    for (QSpinBox *box : {m_srcX, m_srcY, m_srcH, m_srcW}) {
        box->installEventFilter(this);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!m_setting)
                Q_EMIT placeEdited();
        });
        connect(box, &QSpinBox::editingFinished, this, &EntryLayoutPage::placeLeft);
    }

    m_step = new QSlider(Qt::Horizontal, this);
    m_step->setObjectName(QStringLiteral("barMM"));
    m_step->setRange(1, 40);
    m_step->setValue(3);
    m_step->setToolTip(QStringLiteral("每次移动的步长"));
    auto *stepRow = new QFormLayout;
    stepRow->addRow(QStringLiteral("移动步长:"), m_step);
    grid->addLayout(stepRow, 1, 0, 1, 2);

    auto *moves = new QGridLayout;
    const auto addMove = [this, moves](const char *name, const QString &caption, Direction d, int row, int col) {
        QPushButton *b = button(name, caption, this);
        moves->addWidget(b, row, col);
        connect(b, &QPushButton::clicked, this, [this, d] { Q_EMIT moveClicked(d); });
    };
    addMove("btRunU", QStringLiteral("上"), Direction::Up, 0, 1);
    addMove("btRunL", QStringLiteral("左"), Direction::Left, 1, 0);
    addMove("btRunR", QStringLiteral("右"), Direction::Right, 1, 2);
    addMove("btRunD", QStringLiteral("下"), Direction::Down, 2, 1);
    grid->addLayout(moves, 0, 2, 2, 1);

    auto *sizeButtons = new QGridLayout;
    const auto addSize = [this, sizeButtons](const char *name, const QString &caption, bool height, int delta,
                                             int row, int col) {
        QPushButton *b = button(name, caption, this);
        sizeButtons->addWidget(b, row, col);
        connect(b, &QPushButton::clicked, this, [this, height, delta] { Q_EMIT sizeClicked(height, delta); });
    };
    addSize("btHJia", QStringLiteral("高+"), true, 1, 0, 0);
    addSize("btHJian", QStringLiteral("高-"), true, -1, 0, 1);
    addSize("btWJia", QStringLiteral("宽+"), false, 1, 1, 0);
    addSize("btWJian", QStringLiteral("宽-"), false, -1, 1, 1);
    grid->addLayout(sizeButtons, 0, 3, 2, 1);

    m_hidden = new QCheckBox(QStringLiteral("隐藏[不打印或不填写]"), this);
    m_hidden->setObjectName(QStringLiteral("ckHidden"));
    grid->addWidget(m_hidden, 2, 0);
    connect(m_hidden, &QCheckBox::toggled, this, [this](bool hidden) {
        if (!m_setting)
            Q_EMIT hiddenToggled(hidden);
    });

    m_defaultValue = new QLineEdit(this);
    m_defaultValue->setObjectName(QStringLiteral("edtDefaultVal"));
    m_defaultValue->setToolTip(QStringLiteral("默认值，勾中填写V"));
    auto *defaultRow = new QFormLayout;
    defaultRow->addRow(QStringLiteral("默认值填写内容:"), m_defaultValue);
    grid->addLayout(defaultRow, 2, 1, 1, 3);
    connect(m_defaultValue, &QLineEdit::editingFinished, this, &EntryLayoutPage::defaultValueLeft);

    m_font = new QLabel(QStringLiteral("打印预览字体,ABC,abc,123"), this);
    m_font->setObjectName(QStringLiteral("lbFont"));
    m_font->setFont(QFont(QStringLiteral("宋体"), 9));
    grid->addWidget(m_font, 3, 0, 1, 2);

    QPushButton *save = button("btSaveCheck", QStringLiteral("保存设置"), this);
    QPushButton *preview = button("btPreview", QStringLiteral("设置打印参数"), this);
    grid->addWidget(save, 3, 2);
    grid->addWidget(preview, 3, 3);
    connect(save, &QPushButton::clicked, this, &EntryLayoutPage::saveClicked);
    connect(preview, &QPushButton::clicked, this, &EntryLayoutPage::printDesignClicked);

    auto *help = new QHBoxLayout;
    const auto addHelp = [this, help](const char *name, const QString &caption, const QString &file, QSize size) {
        QPushButton *b = button(name, caption, this);
        b->setFlat(true);
        help->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, file, size] { Q_EMIT helpPictureClicked(file, size); });
    };
    addHelp("btHelpZX", QStringLiteral("纵向票据示例"), QStringLiteral("sys_exZX.jpg"), QSize(400, 400));
    addHelp("btHelpHX", QStringLiteral("横向票据示例"), QStringLiteral("sys_exHX.jpg"), QSize(400, 400));
    addHelp("btHelpPos", QStringLiteral("位置参数说明"), QStringLiteral("sys_PosExp.jpg"), QSize(600, 360));
    help->addStretch(1);
    grid->addLayout(help, 5, 0, 1, 4);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lbMessage"));
    m_message->setAutoFillBackground(true);
    m_message->setWordWrap(true);
    grid->addWidget(m_message, 4, 0, 1, 4);
    m_blinkTimer.setInterval(2000);
    connect(&m_blinkTimer, &QTimer::timeout, this, &EntryLayoutPage::blink);
    m_blinkTimer.start();
    setMessage({});
}

QRect EntryLayoutPage::place() const
{
    return {m_srcX->value(), m_srcY->value(), m_srcW->value(), m_srcH->value()};
}

void EntryLayoutPage::setPlace(const QRect &place)
{
    m_setting = true;
    m_srcX->setValue(place.x());
    m_srcY->setValue(place.y());
    m_srcW->setValue(place.width());
    m_srcH->setValue(place.height());
    m_setting = false;
}

int EntryLayoutPage::step() const
{
    return m_step->value();
}

bool EntryLayoutPage::hiddenChecked() const
{
    return m_hidden->isChecked();
}

void EntryLayoutPage::setHiddenChecked(bool hidden)
{
    m_setting = true;
    m_hidden->setChecked(hidden);
    m_setting = false;
}

QString EntryLayoutPage::defaultValue() const
{
    return m_defaultValue->text();
}

void EntryLayoutPage::setDefaultValue(const QString &text)
{
    m_defaultValue->setText(text);
}

QFont EntryLayoutPage::itemFont() const
{
    return m_font->font();
}

void EntryLayoutPage::setItemFont(const QFont &font)
{
    m_font->setFont(font);
}

QString EntryLayoutPage::message() const
{
    return m_message->text();
}

void EntryLayoutPage::setMessage(const QString &text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

// The message line alternates between yellow and the page's colour.
void EntryLayoutPage::blink()
{
    if (m_message->text().isEmpty()) {
        m_message->hide();
        return;
    }
    m_blinkOn = !m_blinkOn;
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::Window, m_blinkOn ? QColor(Qt::yellow) : this->palette().color(QPalette::Window));
    m_message->setPalette(palette);
}

// A spin box takes digits; any other character ends the entry as Enter does.
bool EntryLayoutPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text.at(0).isPrint() || text.at(0).isDigit() || text.at(0) == QLatin1Char('.'))
        return QWidget::eventFilter(watched, event);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &enter);
    return true;
}

} // namespace moque::ui
