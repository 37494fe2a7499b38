#include "refdata/AddressEntryDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/DAOPerson.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::DAOPerson;
using refdata::TPerson;

namespace {

const QString townPlaceholder = QStringLiteral("请直接输入");
constexpr int addressLimit = 160;

const QString codeHelpText = QStringLiteral(
    "助记码不是必填项目，该项目主要用来辅助输入。\r\r例如：在收方单位输入\"qvx01\"按回车键,调入助记码等于\"qvx01\"的第1个单位;\r"
    "例如：在收方单位输入\"qvx%\"或\"qvx*\"按回车键,调入助记码含有\"qvx\"的第1个单位;");

void refill(QComboBox *box, const QStringList &items)
{
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentText(text);
}

} // namespace

AddressEntryDialog::AddressEntryDialog(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setWindowTitle(QStringLiteral("单位详细资料"));

    // Created in the order Enter walks through them.
    m_id = new QLineEdit(this);
    m_id->setObjectName(QStringLiteral("edtID"));
    m_id->setReadOnly(true);
    m_id->setFocusPolicy(Qt::NoFocus);
    m_name = lineEdit("edtName", 80);
    m_inputCode = lineEdit("edtInputCode", 24);
    m_bank = lineEdit("edtBank", 80);
    m_bankAcct = lineEdit("edtBankAcct", 32);
    m_bankAddr = lineEdit("edtBankAddr", 80);
    m_bankNo = lineEdit("edtBankNo", 24);
    m_identity = lineEdit("edtIdentity", 32);
    m_contactor = lineEdit("edtContactor", 48);
    m_phone = lineEdit("edtPhone", 32);
    m_handset = lineEdit("edtHandset", 32);
    m_zipcode = lineEdit("edtZipcode", 32);
    m_country = comboBox("edtCountry", 24);
    m_province = comboBox("edtProvince", 32);
    m_city = comboBox("edtCity", 32);
    m_town = comboBox("edtTown", 32);
    m_town->addItem(townPlaceholder);
    m_town->setCurrentText(QString());
    m_address = new QPlainTextEdit(this);
    m_address->setObjectName(QStringLiteral("edtAddress"));
    m_address->setTabChangesFocus(true);
    m_address->setMaximumHeight(60);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cbAcountType"));
    m_type->addItems({refdata::partyOwn, refdata::partyPartner});
    m_type->setCurrentIndex(1);
    m_type->installEventFilter(this);
    m_group = comboBox("edtGroup", 32);
    m_remark = lineEdit("edtRemark", 128);
    for (int i = 0; i < 3; ++i)
        m_def[i] = lineEdit(QStringLiteral("edtDef%1").arg(i + 1).toLatin1().constData(), 64);
    m_country->setCurrentText(QStringLiteral("中国"));
    m_group->addItems(DAOPerson(core.db()).loadPersonTableGroupList() << refdata::groupDefaultIssuer);
    m_group->setCurrentText(QString());

    auto *codeLabel = new QLabel(QStringLiteral("输入助记码："), this);
    codeLabel->setObjectName(QStringLiteral("lbInputCode"));
    codeLabel->setCursor(Qt::PointingHandCursor);
    codeLabel->installEventFilter(this);
    m_codeHelp = codeLabel;

    auto *grid = new QGridLayout;
    int row = 0;
    auto addLabelled = [&](QWidget *label, QWidget *w, int column, int span = 1) {
        grid->addWidget(label, row, column * 2);
        grid->addWidget(w, row, column * 2 + 1, 1, span);
    };
    auto add = [&](const QString &caption, QWidget *w, int column, int span = 1) {
        addLabelled(new QLabel(caption, this), w, column, span);
    };
    add(QStringLiteral("单位全称*："), m_name, 0, 3);
    add(QStringLiteral("编号："), m_id, 2);
    ++row;
    addLabelled(codeLabel, m_inputCode, 0);
    add(QStringLiteral("识别号："), m_identity, 1);
    add(QStringLiteral("单位类型："), m_type, 2);
    ++row;
    add(QStringLiteral("开户银行："), m_bank, 0);
    add(QStringLiteral("银行账号："), m_bankAcct, 1);
    add(QStringLiteral("分组："), m_group, 2);
    ++row;
    add(QStringLiteral("开户行地址："), m_bankAddr, 0);
    add(QStringLiteral("开户行行号："), m_bankNo, 1);
    ++row;
    add(QStringLiteral("联系人："), m_contactor, 0);
    add(QStringLiteral("电话："), m_phone, 1);
    add(QStringLiteral("手机："), m_handset, 2);
    ++row;
    add(QStringLiteral("国家："), m_country, 0);
    add(QStringLiteral("省："), m_province, 1);
    add(QStringLiteral("市(县)："), m_city, 2);
    ++row;
    add(QStringLiteral("镇区："), m_town, 0);
    add(QStringLiteral("邮编："), m_zipcode, 1);
    ++row;
    add(QStringLiteral("地址："), m_address, 0, 5);
    ++row;
    add(QStringLiteral("扩展信息："), m_remark, 0, 5);
    ++row;
    add(QStringLiteral("自定义1："), m_def[0], 0);
    add(QStringLiteral("自定义2："), m_def[1], 1);
    add(QStringLiteral("自定义3："), m_def[2], 2);

    m_addNext = new QCheckBox(QStringLiteral("单位保存后立即添加下一条"), this);
    m_addNext->setObjectName(QStringLiteral("cbAddNext"));
    QPushButton *saveButton = commandButton(QStringLiteral("保  存(&S)"), "btSave", this);
    m_multi = commandButton(QStringLiteral("多头单位(&C)"), "btMulti", this);
    QPushButton *saveClose = commandButton(QStringLiteral("保存并关闭(&M)"), "btSaveClose", this);
    QPushButton *reset = commandButton(QStringLiteral("重 填 (&N)"), "btReset", this);
    QPushButton *close = commandButton(QStringLiteral("关  闭(&X)"), "btClose", this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addNext);
    buttons->addStretch();
    for (QPushButton *b : {saveButton, m_multi, saveClose, reset, close})
        buttons->addWidget(b);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->showMessage(QStringLiteral(
        "注意:带*必填. 对于一个单位多个收件人情况，修改时点击[多头单位]按钮，保存后即新增一个多头单位。"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(status);

    connect(saveButton, &QPushButton::clicked, this, &AddressEntryDialog::save);
    connect(m_multi, &QPushButton::clicked, this, &AddressEntryDialog::makeNewCopy);
    connect(saveClose, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(reset, &QPushButton::clicked, this, &AddressEntryDialog::clearEditor);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_province, &QComboBox::currentTextChanged, this, &AddressEntryDialog::fillCities);
    connect(m_address, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_address->toPlainText();
        if (text.size() > addressLimit)
            m_address->setPlainText(text.left(addressLimit));
    });
}

QLineEdit *AddressEntryDialog::lineEdit(const char *name, int maxLength)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->installEventFilter(this);
    return e;
}

QComboBox *AddressEntryDialog::comboBox(const char *name, int maxLength)
{
    auto *c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(maxLength);
    c->installEventFilter(this);
    c->lineEdit()->installEventFilter(this);
    return c;
}

bool AddressEntryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_codeHelp && event->type() == QEvent::MouseButtonRelease) {
        m_core.dialogs().message(codeHelpText, QStringLiteral("message"), Dialogs::Icon::Information);
        return true;
    }
    QWidget *box = qobject_cast<QWidget *>(watched);
    if (box && qobject_cast<QComboBox *>(box->parentWidget()))
        box = box->parentWidget();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (box == m_type) {
            // Any key hands on to the group, after the type box took it.
            m_group->setFocus();
            return false;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (box == m_town)
                m_address->setFocus();
            else
                focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == box) {
        DAOPerson dao(m_core.db());
        if (box == m_group && m_group->count() == 0)
            m_group->addItems(dao.loadPersonTableGroupList() << refdata::groupDefaultIssuer);
        else if (box == m_province && !m_provincesFilled) {
            m_provincesFilled = true;
            refill(m_province, dao.loadProvinces());
        } else if (box == m_city && !m_province->currentText().trimmed().isEmpty()) {
            m_city->clear();
            m_city->addItems(dao.loadCitiesOfProvince(m_province->currentText()));
            m_city->setCurrentText(QString());
        } else if (box == m_country)
            refill(m_country, dao.loadCountries());
    } else if (event->type() == QEvent::FocusOut && watched == m_town) {
        leaveTown();
    }
    return QDialog::eventFilter(watched, event);
}

void AddressEntryDialog::fillCities()
{
    const QString city = m_city->currentText();
    m_city->clear();
    m_city->addItems(DAOPerson(m_core.db()).loadCitiesOfProvince(m_province->currentText()));
    m_city->setCurrentText(city);
}

void AddressEntryDialog::leaveTown()
{
    QString town = m_town->currentText();
    if (town == townPlaceholder) {
        m_town->setCurrentText(QString());
        return;
    }
    const QString address = m_address->toPlainText();
    if (!town.isEmpty() && !address.contains(town))
        m_address->setPlainText(town + address);
}

void AddressEntryDialog::clearEditor()
{
    for (QLineEdit *e : {m_id, m_name, m_inputCode, m_identity, m_bank, m_bankAcct, m_bankAddr, m_bankNo, m_contactor,
                         m_phone, m_handset, m_zipcode, m_remark, m_def[0], m_def[1], m_def[2]})
        e->clear();
    for (QComboBox *c : {m_country, m_province, m_city, m_town, m_group})
        c->setCurrentText(QString());
    m_address->clear();
}

void AddressEntryDialog::makeNewCopy()
{
    m_id->clear();
    m_contactor->setFocus();
}

bool AddressEntryDialog::loadPerson(int id)
{
    TPerson p;
    p.setID(id);
    if (DAOPerson(m_core.db()).LoadPersonByID(p) != 1)
        return false;
    setPerson(p);
    return true;
}

void AddressEntryDialog::setPerson(const TPerson &p)
{
    m_id->setText(p.ID() > 0 ? QString::number(p.ID()) : QString());
    m_name->setText(p.fullName());
    m_inputCode->setText(p.inputCode());
    m_identity->setText(p.taxNo());
    m_bank->setText(p.bank());
    m_bankAcct->setText(p.bankAccount());
    m_bankAddr->setText(p.bankAddress());
    m_bankNo->setText(p.bankNo());
    m_contactor->setText(p.contact());
    m_phone->setText(p.phone());
    m_handset->setText(p.mobile());
    m_zipcode->setText(p.zipCode());
    m_country->setCurrentText(p.country());
    m_province->setCurrentText(p.province());
    m_city->setCurrentText(p.city());
    m_town->setCurrentText(p.town());
    m_address->setPlainText(p.address());
    m_group->setCurrentText(p.group());
    setPartyType(p.partyType());
    m_remark->setText(p.remark());
    m_def[0]->setText(p.def1());
    m_def[1]->setText(p.def2());
    m_def[2]->setText(p.def3());
}

void AddressEntryDialog::setPartyType(const QString &type)
{
    m_type->setCurrentText(refdata::normalizedPartyType(type));
}

void AddressEntryDialog::setGroup(const QString &group)
{
    m_group->setCurrentText(group);
}

int AddressEntryDialog::editorId() const
{
    return m_id->text().toInt();
}

TPerson AddressEntryDialog::person() const
{
    TPerson p;
    p.setID(editorId());
    p.setFullName(m_name->text());
    p.setInputCode(m_inputCode->text().trimmed());
    p.setTaxNo(m_identity->text());
    p.setBank(m_bank->text().trimmed());
    p.setBankAccount(m_bankAcct->text().trimmed());
    p.setBankAddress(m_bankAddr->text());
    p.setBankNo(m_bankNo->text());
    p.setContact(m_contactor->text());
    p.setPhone(m_phone->text());
    p.setMobile(m_handset->text());
    p.setZipCode(m_zipcode->text());
    p.setCountry(m_country->currentText());
    p.setProvince(m_province->currentText());
    p.setCity(m_city->currentText());
    p.setTown(m_town->currentText() == townPlaceholder ? QString() : m_town->currentText());
    p.setAddress(m_address->toPlainText());
    p.setGroup(m_group->currentText());
    p.setPartyType(refdata::normalizedPartyType(m_type->currentText()));
    p.setRemark(m_remark->text());
    p.setDef1(m_def[0]->text());
    p.setDef2(m_def[1]->text());
    p.setDef3(m_def[2]->text());
    return p;
}

bool AddressEntryDialog::save()
{
    const TPerson p = person();
    QString error;
    const int result = DAOPerson(m_core.db()).SavePerson(p, &error);
    Dialogs &dialogs = m_core.dialogs();
    if (result < 0)
        dialogs.error(QStringLiteral("添加更新失败，Error=") + error);
    else if (result == 0)
        dialogs.error(QStringLiteral("数据添加或更新失败！"));
    else
        dialogs.info(p.ID() > 0 ? QStringLiteral("历史单位资料资料更新成功！") : QStringLiteral("新增单位资料添加成功！"));
    if (result != 1)
        return false;
    if (m_fromWindow)
        Q_EMIT saved();
    m_multi->setFocus();
    if (m_addNext->isChecked())
        clearEditor();
    return true;
}

void AddressEntryDialog::savePersonToBook(moque::app::AppCore &core, const TPerson *party, QWidget *parent)
{
    if (!party)
        return;
    DAOPerson dao(core.db());
    if (party->ID() > 0) {
        QString error;
        if (dao.SavePerson(*party, &error) < 0)
            core.dialogs().error(QStringLiteral("添加更新失败，Error=") + error);
        return;
    }
    AddressEntryDialog editor(core, parent);
    const std::optional<TPerson> found = dao.FindPersonForBill(*party);
    editor.setPerson(refdata::overlayBillParty(found.value_or(TPerson()), *party));
    editor.exec();
}

} // namespace moque::ui
