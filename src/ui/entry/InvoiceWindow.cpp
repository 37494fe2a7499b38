#include "entry/InvoiceWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "entry/Amounts.h"
#include "entry/InvoiceControls.h"
#include "entry/InvoiceOptions.h"
#include "entry/NumberedFields.h"
#include "entry/OptionStrip.h"
#include "entry/ReceiptAids.h"
#include "refdata/Currencies.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace moque::ui {

using entry::BillField;

namespace {




} // namespace

InvoiceWindow::InvoiceWindow(app::AppCore &core, const entry::BillKind &kind, int lines, entry::InvoiceForm form,
                             QWidget *parent)
    : EntryWindow(core, kind, parent), m_form(form), m_lines(lines)
{
}

void InvoiceWindow::addAmountOptions(OptionStrip *strip)
{
    const auto box = [this, strip](QCheckBox *&member, const char *name, const QString &caption) {
        member = new QCheckBox(caption);
        member->setObjectName(QString::fromLatin1(name));
        strip->addOption(member, true);
        if (entry::tickedUnlessStoredOff(member->objectName()))
            OptionStrip::tickedUnlessStoredOff(member);
        connect(member, &QCheckBox::toggled, this, &InvoiceWindow::reformatAll);
    };
    const auto combo = [strip](QComboBox *&member, const char *name, const QString &label, const QStringList &items,
                               const QString &start) {
        strip->addOption(new QLabel(label), false);
        member = new QComboBox;
        member->setObjectName(QString::fromLatin1(name));
        member->addItems(items);
        member->setCurrentText(start);
        strip->addOption(member, true);
    };
    box(m_cfgWantPrintRQ, "cfgWantPrintRQ", QStringLiteral("打日期"));
    box(m_cfg2YearChar, "cfg2YearChar", QStringLiteral("两位年"));
    combo(m_cfgDateFormat, "cfgDateFormat", QStringLiteral("日期格式："), entry::invoiceDateFormats(),
          entry::defaultDateFormat());
    strip->addOption(new QLabel(QStringLiteral("币种：")), false);
    m_cfgMoneyType = new QComboBox;
    m_cfgMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    m_cfgMoneyType->addItems(refdata::Currencies(core().db()).loadMoneyTypeList());
    m_cfgMoneyType->setCurrentText(entry::kHomeCurrency);
    strip->addOption(m_cfgMoneyType, true);
    OptionStrip::rememberAs(m_cfgMoneyType, QStringLiteral("cfgDefaultMoney"));
    strip->startRow();
    combo(m_cfgJEDXFormat, "cfgJEDXFormat", QStringLiteral("大写格式："), entry::invoiceDigitLimits(),
          entry::defaultDigitLimit());
    box(m_cfgJEDXRMBChecked, "cfgJEDXRMBChecked", QStringLiteral("大写带\"人民币\""));
    box(m_cfgTotalJEWithSheep, "cfgTotalJEWithSheep", QStringLiteral("合计￥"));
    box(m_cfgHJJEXXWithYuan, "cfgHJJEXXWithYuan", QStringLiteral("总计小写带元"));
    box(m_cfgJENeedSheep, "cfgJENeedSheep", QStringLiteral("小计￥"));
    box(m_cfgHJJENeedQianFF, "cfgHJJENeedQianFF", QStringLiteral("合计千分符"));
    box(m_cfgJEXXNeedQianFF, "cfgJEXXNeedQianFF", QStringLiteral("小计千分符"));
    box(m_cfgJEDXYuan, "cfgJEDXYuan", QStringLiteral("大写圆"));
    box(m_cfgJEDXFormatNoStandard, "cfgJEDXFormatNoStandard", QStringLiteral("非标准大写"));

    // The date follows its options; a checked date option no longer reformats amounts.
    disconnect(m_cfgWantPrintRQ, &QCheckBox::toggled, this, &InvoiceWindow::reformatAll);
    disconnect(m_cfg2YearChar, &QCheckBox::toggled, this, &InvoiceWindow::reformatAll);
    connect(m_cfgWantPrintRQ, &QCheckBox::toggled, this, &InvoiceWindow::applyPrintDateOption);
    connect(m_cfg2YearChar, &QCheckBox::toggled, this, [this] { EntryWindow::writeDateBoxes(); });
    connect(m_cfgDateFormat, &QComboBox::currentTextChanged, this, [this] { EntryWindow::writeDateBoxes(); });
    connect(m_cfgJEDXFormat, &QComboBox::currentTextChanged, this, [this] { setTotal(sumAll(), true); });
    connect(m_cfgMoneyType, &QComboBox::currentTextChanged, this, &InvoiceWindow::currencyChosen);
}

// The options hold the money look; the window's own currency stands for the
// bill (a saved bill keeps its currency whatever the template says).
entry::AmountLook InvoiceWindow::look() const
{
    entry::AmountLook look;
    look.lineCurrencySign = m_cfgJENeedSheep->isChecked();
    look.lineThousands = m_cfgJEXXNeedQianFF->isChecked();
    look.totalCurrencySign = m_cfgTotalJEWithSheep->isChecked();
    look.totalThousands = m_cfgHJJENeedQianFF->isChecked();
    look.totalWithYuan = m_cfgHJJEXXWithYuan->isChecked();
    look.capitalWithCurrency = m_cfgJEDXRMBChecked->isChecked();
    look.capitalYuan = m_cfgJEDXYuan->isChecked();
    look.nonStandardCapital = m_cfgJEDXFormatNoStandard->isChecked();
    look.currencyName = m_moneyName;
    look.currencyCode = moneyCode();
    return look;
}

void InvoiceWindow::setMoneyName(const QString &name)
{
    m_moneyName = name.trimmed().isEmpty() ? entry::kHomeCurrency : name.trimmed();
    m_moneyCodeKnown = false;
    const QSignalBlocker blocker(m_cfgMoneyType);
    m_cfgMoneyType->setCurrentText(m_moneyName);
}

QString InvoiceWindow::moneyCode() const
{
    if (!m_moneyCodeKnown) {
        m_moneyCode = refdata::Currencies(core().db()).getMoneyCodeByName(m_moneyName);
        m_moneyCodeKnown = true;
    }
    return m_moneyCode;
}

void InvoiceWindow::currencyChosen()
{
    setMoneyName(m_cfgMoneyType->currentText());
    reformatAll();
}

void InvoiceWindow::computeLine(int line)
{
    const QString quantityBox = entry::numbered("zdSL", line);
    const QString priceBox = entry::numbered("zdDJ", line);
    const QString quantity = text(quantityBox).trimmed();
    const QString price = text(priceBox).trimmed();
    setText(quantityBox, quantity);
    setText(priceBox, price);
    // A line left blank stays blank instead of holding an amount of 0.
    if (quantity.isEmpty() && price.isEmpty()) {
        setText(entry::numbered("zdJEXX", line), QString());
        formatLine(line);
        return;
    }
    const entry::LineAmount amount = entry::lineAmount(quantity, price);
    if (!amount.ok()) {
        core().dialogs().info(amount.error);
        setText(quantityBox, QString());
        setText(priceBox, QString());
        if (QWidget *w = control(quantityBox))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    setText(entry::numbered("zdJEXX", line), amount.amount);
    formatLine(line);
}

void InvoiceWindow::formatLine(int line)
{
    const QString typedBox = entry::numbered("zdJEXX", line);
    if (QWidget *w = control(typedBox))
        w->hide();
    if (showLine(line)) {
        setTotal(sumAll());
        return;
    }
    setText(entry::control::capital, QString());
    setText(entry::numbered("zdJE", line), QString());
    setText(typedBox, QString());
    setText(entry::control::totalShown, entry::kBadLineAmount);
}

bool InvoiceWindow::showLine(int line)
{
    const QString typedBox = entry::numbered("zdJEXX", line);
    const QString typed = text(typedBox).trimmed();
    const entry::LineLook shown = entry::lineLook(line, typed, text(entry::numbered("zdSFNR", line)), look());
    if (shown.invalid)
        return false;
    setText(typedBox, typed);
    setText(entry::numbered("zdJE", line), shown.shown);
    for (auto it = shown.boxes.cbegin(); it != shown.boxes.cend(); ++it)
        setText(it.key(), it.value());
    return true;
}

bool InvoiceWindow::lineCounted(int) const
{
    return true;
}

QString InvoiceWindow::sumAll()
{
    QStringList amounts;
    for (int line = 1; line <= m_lines; ++line) {
        const QString typed = text(entry::numbered("zdJEXX", line)).trimmed();
        if (!typed.isEmpty() && lineCounted(line))
            amounts << typed;
    }
    const entry::SumResult sum = entry::sumLines(amounts, m_cfgJEDXFormat->currentText(), m_form);
    if (!sum.message.isEmpty())
        core().dialogs().info(sum.message);
    return sum.total;
}

void InvoiceWindow::setTotal(const QString &text, bool again)
{
    if (m_totalSet && !again && text == m_lastTotal)
        return;
    const entry::TotalLook total = entry::totalLook(text, look(), m_form);
    if (!total.message.isEmpty()) {
        core().dialogs().info(total.message, total.caption);
        return;
    }
    m_lastTotal = text;
    m_totalSet = true;
    setText(entry::control::total, total.plain);
    setText(entry::control::totalShown, total.shown);
    setText(entry::control::capital, total.capital);
    for (auto it = total.boxes.cbegin(); it != total.boxes.cend(); ++it)
        setText(it.key(), it.value());
    if (total.zero)
        setText(entry::control::totalInput, QString());
    totalShown(total.shown);
}

void InvoiceWindow::reformatAll()
{
    for (int line = 1; line <= m_lines; ++line)
        showLine(line);
    // A total typed without lines stays as typed.
    setTotal(linesInUse() ? sumAll() : text(entry::control::total), true);
}

bool InvoiceWindow::linesInUse() const
{
    const auto shown = [this](const QString &name) {
        const QWidget *w = control(name);
        return w && !w->isHidden();
    };
    return shown(QStringLiteral("zdDJ1")) || shown(QStringLiteral("zdJE1"));
}

void InvoiceWindow::connectKindAids()
{
    // One character a box: the form draws the boxes, the character sits in the middle.
    QStringList boxes = entry::capitalBoxNames();
    for (int row = 1; row <= entry::kTotalRow; ++row)
        boxes << entry::digitBoxNames(row);
    for (const QString &name : std::as_const(boxes)) {
        if (auto *box = qobject_cast<QLineEdit *>(control(name))) {
            box->setFrame(false);
            box->setTextMargins(0, 0, 0, 0);
            box->setAlignment(Qt::AlignCenter);
            box->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
        }
    }
    // Letters, blanks and signs are no part of a typed total; Enter ends it.
    if (auto *input = qobject_cast<QLineEdit *>(control(entry::control::totalInput))) {
        input->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^A-Za-z \\-]*")), input));
        connect(input, &QLineEdit::returnPressed, this, &InvoiceWindow::endTotalInput);
    }
    for (int line = 1; line <= m_lines; ++line) {
        if (auto *quantity = qobject_cast<QLineEdit *>(control(entry::numbered("zdSL", line))))
            connect(quantity, &QLineEdit::textEdited, this, [this, line] { computeLine(line); });
    }
}

void InvoiceWindow::applyTemplateAids()
{
    // The template's remembered currency; a saved bill's own currency comes after.
    setMoneyName(m_cfgMoneyType->currentText());
    applyPrintDateOption();
    const bool fromLines = linesInUse();
    const QString hint = fromLines ? QStringLiteral("汇总无需输入,只需输入项目金额，自动汇总!")
                                   : QStringLiteral("点击输入小写金额，回车自动变大写!");
    const QString capitalHint = fromLines ? QStringLiteral("大写无需输入,只需输入项目单价金额，自动汇总!")
                                          : QStringLiteral("点击输入小写金额，回车自动变大写!");
    if (QWidget *w = control(entry::control::totalShown))
        w->setToolTip(hint);
    if (QWidget *w = control(entry::control::capital))
        w->setToolTip(capitalHint);
    reformatAll();
}

void InvoiceWindow::applyPrintDateOption()
{
    QStringList dates = entry::fieldNames(entry::dateBoxFields(kind().fields));
    dates << entry::control::dateLine << QStringLiteral("cgNianYueRi");
    if (m_cfgWantPrintRQ->isChecked()) {
        placeControls(dates);
        EntryWindow::writeDateBoxes();
    } else {
        for (const QString &name : dates)
            if (QWidget *w = control(name))
                w->hide();
    }
    layoutFixedParts();
}

bool InvoiceWindow::datePickerShown() const
{
    return m_cfgWantPrintRQ->isChecked() && EntryWindow::datePickerShown();
}

void InvoiceWindow::writeDateBoxes(const QDate &date)
{
    const bool twoDigits = m_cfg2YearChar && m_cfg2YearChar->isChecked();
    const entry::DateBoxes boxes = date.isValid() ? entry::receiptDateBoxes(date, twoDigits) : entry::DateBoxes{};
    for (const BillField &box : entry::dateBoxFields(kind().fields))
        setText(box.name, boxes.of(box.dateBox));
    const QString format = m_cfgDateFormat ? m_cfgDateFormat->currentText() : QString();
    const QString line = date.isValid() ? entry::billDateLine(QDateTime(date, QTime::currentTime()), format) : QString();
    setText(entry::control::dateLine, line);
    setText(QStringLiteral("cgNianYueRi"), line);
}

// Entering a line's amount lays its typed edit over it; leaving a price
// computes the line; the total is typed over its display when no lines make it.
void InvoiceWindow::fieldEvent(const BillField &field, QWidget *w, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonPress) {
        if (const int line = entry::numberOf(field.name, "zdJE"))
            layOver(qobject_cast<QLineEdit *>(control(entry::numbered("zdJEXX", line))), w);
        else if ((field.name == entry::control::totalShown || field.name == entry::control::capital) && !linesInUse())
            layOver(qobject_cast<QLineEdit *>(control(entry::control::totalInput)), w);
    } else if (type == QEvent::FocusOut) {
        if (const int line = entry::numberOf(field.name, "zdDJ"))
            computeLine(line);
        else if (const int typedLine = entry::numberOf(field.name, "zdJEXX"))
            formatLine(typedLine);
        else if (field.name == entry::control::totalInput && w->isVisible())
            endTotalInput();
    }
}

void InvoiceWindow::layOver(QLineEdit *edit, const QWidget *display)
{
    if (!edit || !display || display->isHidden())
        return;
    edit->setGeometry(display->geometry());
    edit->show();
    edit->raise();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void InvoiceWindow::endTotalInput()
{
    QWidget *input = control(entry::control::totalInput);
    const QString cleaned = entry::normalizeDigits(text(entry::control::totalInput));
    setText(entry::control::totalInput, cleaned);
    input->hide();
    setTotal(cleaned);
}

bool InvoiceWindow::saveRefused()
{
    const QString total = entry::normalizeDigits(text(entry::control::total));
    const std::optional<qint64> fen = entry::parseFen(total);
    if (total.isEmpty() || !fen || *fen == 0) {
        core().dialogs().info(QStringLiteral("金额为空,不能保存！"));
        return true;
    }
    const QWidget *yuan = control(QStringLiteral("zddxY"));
    if (yuan && !yuan->isHidden() && text(QStringLiteral("zddxY")).isEmpty()) {
        core().dialogs().info(QStringLiteral("金额超过发票范围或者非法，拒绝保存~"));
        return true;
    }
    return false;
}

void InvoiceWindow::addKindColumns(QHash<QString, QString> &row)
{
    row.insert(QStringLiteral("币种"), m_moneyName);
}

void InvoiceWindow::readKindColumns(const QHash<QString, QString> &row)
{
    setMoneyName(row.value(QStringLiteral("币种")));
    for (int line = 1; line <= m_lines; ++line)
        showLine(line);
    const QString total = row.value(QStringLiteral("合计金额"));
    setText(entry::control::totalInput, total);
    setTotal(linesInUse() ? sumAll() : total, true);
}

void InvoiceWindow::newBillAids()
{
    for (int line = 1; line <= m_lines; ++line) {
        for (const char *box : {"zdSFNR", "zdGuiGe", "zdHuoHao", "zdDW", "zdSL", "zdJE", "zdDJ", "zdJEXX"})
            setText(entry::numbered(box, line), QString());
        const QHash<QString, QString> cleared = entry::digitBoxesOf(line, QString(), look());
        for (auto it = cleared.cbegin(); it != cleared.cend(); ++it)
            setText(it.key(), it.value());
    }
    setText(entry::control::capital, QString());
    setTotal(QString(), true);
    setText(entry::control::total, QString());
}

} // namespace moque::ui
