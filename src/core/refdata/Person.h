#pragma once

#include <QString>

#include <array>

namespace moque::refdata {

// One address book entry as the entry windows and the address book pass it
// around: the ID (0 or less: not stored) and the 22 texts.
class TPerson
{
public:
    // The texts in their declared order.
    enum Field {
        FullName,    // 全称
        TaxNo,       // 识别号
        InputCode,   // 助记码
        Contact,     // 联系人
        Bank,        // 开户银行
        BankAccount, // 开户行账号
        BankAddress, // 开户行地址
        BankNo,      // 开户行行号
        Phone,       // 电话
        Mobile,      // 手机
        ZipCode,     // 邮编
        Country,     // 国家
        Address,     // 地址
        Province,    // 省
        City,        // 市
        Town,        // 镇区
        Group,       // 分组
        PartyType,   // 单位类型
        Def1,        // 自定义1
        Def2,        // 自定义2
        Def3,        // 自定义3
        Remark,      // 扩展信息
        FieldCount
    };

    TPerson() = default;
    virtual ~TPerson() = default;
    TPerson(const TPerson &) = default;
    TPerson &operator=(const TPerson &) = default;

    // The column of CKPersonalInfoTable that holds the text.
    static QString columnName(Field field);

    int ID() const { return m_id; }
    void setID(int id) { m_id = id; }

    QString text(Field field) const { return m_texts[field]; }
    void setText(Field field, const QString &value) { m_texts[field] = value; }

    QString fullName() const { return m_texts[FullName]; }
    void setFullName(const QString &v) { m_texts[FullName] = v; }
    QString taxNo() const { return m_texts[TaxNo]; }
    void setTaxNo(const QString &v) { m_texts[TaxNo] = v; }
    QString inputCode() const { return m_texts[InputCode]; }
    void setInputCode(const QString &v) { m_texts[InputCode] = v; }
    QString contact() const { return m_texts[Contact]; }
    void setContact(const QString &v) { m_texts[Contact] = v; }
    QString bank() const { return m_texts[Bank]; }
    void setBank(const QString &v) { m_texts[Bank] = v; }
    QString bankAccount() const { return m_texts[BankAccount]; }
    void setBankAccount(const QString &v) { m_texts[BankAccount] = v; }
    QString bankAddress() const { return m_texts[BankAddress]; }
    void setBankAddress(const QString &v) { m_texts[BankAddress] = v; }
    QString bankNo() const { return m_texts[BankNo]; }
    void setBankNo(const QString &v) { m_texts[BankNo] = v; }
    QString phone() const { return m_texts[Phone]; }
    void setPhone(const QString &v) { m_texts[Phone] = v; }
    QString mobile() const { return m_texts[Mobile]; }
    void setMobile(const QString &v) { m_texts[Mobile] = v; }
    QString zipCode() const { return m_texts[ZipCode]; }
    void setZipCode(const QString &v) { m_texts[ZipCode] = v; }
    QString country() const { return m_texts[Country]; }
    void setCountry(const QString &v) { m_texts[Country] = v; }
    QString address() const { return m_texts[Address]; }
    void setAddress(const QString &v) { m_texts[Address] = v; }
    QString province() const { return m_texts[Province]; }
    void setProvince(const QString &v) { m_texts[Province] = v; }
    QString city() const { return m_texts[City]; }
    void setCity(const QString &v) { m_texts[City] = v; }
    QString town() const { return m_texts[Town]; }
    void setTown(const QString &v) { m_texts[Town] = v; }
    QString group() const { return m_texts[Group]; }
    void setGroup(const QString &v) { m_texts[Group] = v; }
    QString partyType() const { return m_texts[PartyType]; }
    void setPartyType(const QString &v) { m_texts[PartyType] = v; }
    QString def1() const { return m_texts[Def1]; }
    void setDef1(const QString &v) { m_texts[Def1] = v; }
    QString def2() const { return m_texts[Def2]; }
    void setDef2(const QString &v) { m_texts[Def2] = v; }
    QString def3() const { return m_texts[Def3]; }
    void setDef3(const QString &v) { m_texts[Def3] = v; }
    QString remark() const { return m_texts[Remark]; }
    void setRemark(const QString &v) { m_texts[Remark] = v; }

    bool operator==(const TPerson &other) const { return m_id == other.m_id && m_texts == other.m_texts; }

protected:
    void clearTexts() { m_texts.fill(QString()); }

private:
    int m_id = 0;
    std::array<QString, FieldCount> m_texts;
};

// An entry with the waybill texts the batch print list adds to a recognised recipient.
class TPersonKDD : public TPerson
{
public:
    QString goodsDescription() const { return m_goods; }   // 内件说明
    void setGoodsDescription(const QString &v) { m_goods = v; }
    QString destination() const { return m_destination; } // 目的站
    void setDestination(const QString &v) { m_destination = v; }

    // ID −1 and every text empty.
    void reset()
    {
        setID(-1);
        clearTexts();
        m_goods.clear();
        m_destination.clear();
    }

private:
    QString m_goods;
    QString m_destination;
};

// Marker values of the address book.
inline const QString partyOwn = QStringLiteral("我方单位");
inline const QString partyPartner = QStringLiteral("往来单位");
inline const QString groupDefaultIssuer = QStringLiteral("默认出票人");
inline const QString groupAll = QStringLiteral("全部分组");

} // namespace moque::refdata
