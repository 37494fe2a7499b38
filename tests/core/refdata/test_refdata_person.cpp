#include "refdata/DAOPerson.h"
#include "refdata/PersonListModel.h"
#include "support/TestData.h"

#include <QTest>

using namespace moque;
using refdata::DAOPerson;
using refdata::PersonFilter;
using refdata::PersonListModel;
using refdata::TPerson;

namespace {

TPerson filledPerson(const QString &name)
{
    TPerson p;
    for (int f = 0; f < TPerson::FieldCount; ++f)
        p.setText(TPerson::Field(f), TPerson::columnName(TPerson::Field(f)) + QStringLiteral("-") + name);
    p.setFullName(name);
    p.setPartyType(refdata::partyPartner);
    return p;
}

int addPerson(const test::TestData &data, const QString &name, const QString &code = {}, const QString &type = {},
              const QString &group = {}, int sort = 0)
{
    data.exec(QStringLiteral("insert into CKPersonalInfoTable (全称,助记码,单位类型,分组,排序) values (?,?,?,?,?)"),
              {name, code, type, group, sort});
    return data.scalar(QStringLiteral("select max(ID) from CKPersonalInfoTable")).toInt();
}

} // namespace

class TestRefdataPerson : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        m_dao = std::make_unique<DAOPerson>(m_data->db());
    }

    void saveAppendsThenEditsEveryText()
    {
        const TPerson p = filledPerson(QStringLiteral("甲公司"));
        QCOMPARE(m_dao->SavePerson(p), 1);
        // The entry keeps its ID; the store numbered the row.
        QCOMPARE(p.ID(), 0);
        std::optional<TPerson> found = m_dao->FindPersonByFullName(QStringLiteral("甲公司"));
        QVERIFY(found);
        QVERIFY(found->ID() > 0);
        TPerson expected = p;
        expected.setID(found->ID());
        QCOMPARE(*found, expected);

        found->setContact(QStringLiteral("李四"));
        QCOMPARE(m_dao->SavePerson(*found), 1);
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKPersonalInfoTable")).toInt(), 1);
        TPerson reread;
        reread.setID(found->ID());
        QCOMPARE(m_dao->LoadPersonByID(reread), 1);
        QCOMPARE(reread, *found);
    }

    void saveWithoutIdAlwaysAppends()
    {
        TPerson p = filledPerson(QStringLiteral("同名公司"));
        QCOMPARE(m_dao->SavePerson(p), 1);
        QCOMPARE(m_dao->SavePerson(p), 1);
        // An ID that has no row appends too.
        p.setID(9999);
        QCOMPARE(m_dao->SavePerson(p), 1);
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where 全称=?"),
                                {p.fullName()})
                     .toInt(),
                 3);
    }

    void saveNeverWritesSortWeight()
    {
        const int id = addPerson(*m_data, QStringLiteral("乙"), {}, {}, {}, 7);
        TPerson p;
        p.setID(id);
        QCOMPARE(m_dao->LoadPersonByID(p), 1);
        p.setAddress(QStringLiteral("新地址"));
        QCOMPARE(m_dao->SavePerson(p), 1);
        QCOMPARE(m_data->scalar(QStringLiteral("select 排序 from CKPersonalInfoTable where ID=?"), {id}).toInt(), 7);
    }

    void loadByIdResults()
    {
        TPerson p;
        QCOMPARE(m_dao->LoadPersonByID(p), -1);
        p.setID(-3);
        QCOMPARE(m_dao->LoadPersonByID(p), -1);
        p.setID(12345);
        QCOMPARE(m_dao->LoadPersonByID(p), 0);
    }

    void namesAreStoredAndFoundExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote") << QStringLiteral("O'Brien \"东方\" 公司");
        QTest::newRow("percent") << QStringLiteral("100%纯净水厂");
        QTest::newRow("underscore") << QStringLiteral("a_b商行");
        QTest::newRow("chinese punctuation") << QStringLiteral("《华南》（广州）有限公司，“总部”；");
        QTest::newRow("backslash") << QStringLiteral("C:\\路径\\公司");
    }
    void namesAreStoredAndFoundExactly()
    {
        QFETCH(QString, name);
        // A near-miss that a LIKE or a broken quote would also find.
        addPerson(*m_data, QStringLiteral("X") + name);
        TPerson p = filledPerson(name);
        p.setContact(name);
        p.setBankAccount(name);
        QCOMPARE(m_dao->SavePerson(p), 1);
        const std::optional<TPerson> found = m_dao->FindPersonByFullName(name);
        QVERIFY(found);
        QCOMPARE(found->fullName(), name);
        QVERIFY(m_dao->FindPersonByNameAndAccount(name, name));
        QVERIFY(m_dao->FindPersonByNameAndContact(name, name));
        QCOMPARE(m_dao->FindPersonByContact(name)->fullName(), name);
        QCOMPARE(m_dao->loadAccountsByCompany(name), QStringList{name});
        QVERIFY(!m_dao->FindPersonByFullName(name.left(name.size() - 1)));
    }

    void emptyKeysFindNothing()
    {
        addPerson(*m_data, QString());
        QVERIFY(!m_dao->FindPersonByFullName(QString()));
        QVERIFY(!m_dao->FindPersonByInputCode(QString()));
        QVERIFY(!m_dao->FindPersonByContact(QString()));
        QVERIFY(m_dao->loadAccountsByCompany(QStringLiteral("  ")).isEmpty());
        QVERIFY(m_dao->loadBankNamesByAccount(QString()).isEmpty());
    }

    void inputCodeLookup_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected"); // full name found, empty for none
        QTest::newRow("exact") << QStringLiteral("qvx01") << QStringLiteral("A");
        QTest::newRow("exact is not contains") << QStringLiteral("qvx") << QString();
        QTest::newRow("percent after") << QStringLiteral("qvx0%") << QStringLiteral("A");
        QTest::newRow("star before") << QStringLiteral("*x02") << QStringLiteral("B");
        QTest::newRow("inside") << QStringLiteral("qv%x0*2") << QStringLiteral("B");
        QTest::newRow("only wildcards") << QStringLiteral("%*%") << QString();
        QTest::newRow("underscore is literal") << QStringLiteral("q_x%") << QStringLiteral("C");
        QTest::newRow("percent literal code") << QStringLiteral("50%") << QStringLiteral("D");
        QTest::newRow("no match") << QStringLiteral("zzz%") << QString();
    }
    void inputCodeLookup()
    {
        QFETCH(QString, code);
        QFETCH(QString, expected);
        addPerson(*m_data, QStringLiteral("A"), QStringLiteral("qvx01"));
        addPerson(*m_data, QStringLiteral("B"), QStringLiteral("qvx02"));
        addPerson(*m_data, QStringLiteral("C"), QStringLiteral("q_x"));
        addPerson(*m_data, QStringLiteral("D"), QStringLiteral("x50y"));
        const std::optional<TPerson> found = m_dao->FindPersonByInputCode(code);
        QCOMPARE(found ? found->fullName() : QString(), expected);
    }

    void defaultIssuerIsUniqueAndOwn()
    {
        const int first = addPerson(*m_data, QStringLiteral("甲"), {}, refdata::partyOwn);
        const int second = addPerson(*m_data, QStringLiteral("乙"), {}, refdata::partyPartner, QStringLiteral("分组A"));
        QVERIFY(!m_dao->LoadDefaultIssuer());
        QVERIFY(m_dao->SetDefaultIssuer(first));
        QCOMPARE(m_dao->LoadDefaultIssuer()->ID(), first);
        QVERIFY(m_dao->SetDefaultIssuer(second));
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where 分组=?"),
                                {refdata::groupDefaultIssuer})
                     .toInt(),
                 1);
        const std::optional<TPerson> issuer = m_dao->LoadDefaultIssuer();
        QCOMPARE(issuer->ID(), second);
        QCOMPARE(issuer->partyType(), refdata::partyOwn);
        TPerson old;
        old.setID(first);
        m_dao->LoadPersonByID(old);
        QCOMPARE(old.group(), QString());
    }

    void listLoaders()
    {
        addPerson(*m_data, QStringLiteral("甲"), {}, refdata::partyOwn, QStringLiteral("乙组"));
        addPerson(*m_data, QStringLiteral("乙"), {}, refdata::partyPartner, QStringLiteral("甲组"));
        addPerson(*m_data, QStringLiteral("乙"), {}, refdata::partyPartner, refdata::groupDefaultIssuer);
        addPerson(*m_data, QStringLiteral("丙"), {}, refdata::partyPartner, QStringLiteral("  "));
        data().exec(QStringLiteral("update CKPersonalInfoTable set 省=? where 全称=?"), {QStringLiteral("广东"), QStringLiteral("甲")});
        data().exec(QStringLiteral("update CKPersonalInfoTable set 省='' where 全称=?"), {QStringLiteral("丙")});
        QStringList companies = m_dao->loadCompanyList();
        companies.sort();
        QCOMPARE(companies, (QStringList{QStringLiteral("丙"), QStringLiteral("乙"), QStringLiteral("甲")}));
        QCOMPARE(m_dao->loadCompanyList(refdata::partyOwn), QStringList{QStringLiteral("甲")});
        QStringList groups = m_dao->loadPersonTableGroupList();
        QStringList sorted = groups;
        sorted.sort();
        QCOMPARE(groups, sorted);
        QCOMPARE(groups.size(), 2);
        QVERIFY(!groups.contains(refdata::groupDefaultIssuer));
        QCOMPARE(m_dao->loadPersonTableProvinceList(), QStringList{QStringLiteral("广东")});
    }

    void billPartyMatching_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("expectedRemark");
        QTest::newRow("name and account") << "公司" << "222" << "王五" << "second";
        QTest::newRow("name and contact") << "公司" << "" << "王五" << "second";
        QTest::newRow("name only") << "公司" << "" << "" << "first";
        QTest::newRow("contact only") << "" << "" << "王五" << "second";
        QTest::newRow("nothing") << "" << "" << "" << "";
        QTest::newRow("name with unknown contact") << "公司" << "" << "赵六" << "";
    }
    void billPartyMatching()
    {
        QFETCH(QString, name);
        QFETCH(QString, account);
        QFETCH(QString, contact);
        QFETCH(QString, expectedRemark);
        TPerson first = filledPerson(QStringLiteral("公司"));
        first.setBankAccount(QStringLiteral("111"));
        first.setContact(QStringLiteral("张三"));
        first.setRemark(QStringLiteral("first"));
        TPerson second = first;
        second.setBankAccount(QStringLiteral("222"));
        second.setContact(QStringLiteral("王五"));
        second.setRemark(QStringLiteral("second"));
        QCOMPARE(m_dao->SavePerson(first), 1);
        QCOMPARE(m_dao->SavePerson(second), 1);
        TPerson party;
        party.setFullName(name);
        party.setBankAccount(account);
        party.setContact(contact);
        const std::optional<TPerson> found = m_dao->FindPersonForBill(party);
        QCOMPARE(found ? found->remark() : QString(), expectedRemark);
    }

    void overlayCarriesNonEmptyTexts()
    {
        TPerson entry = filledPerson(QStringLiteral("旧"));
        entry.setID(5);
        TPerson party;
        party.setAddress(QStringLiteral("新地址"));
        party.setDef3(QStringLiteral("新3"));
        party.setRemark(QStringLiteral("not carried"));
        party.setPartyType(QStringLiteral("其他"));
        const TPerson result = refdata::overlayBillParty(entry, party);
        QCOMPARE(result.ID(), 5);
        QCOMPARE(result.address(), QStringLiteral("新地址"));
        QCOMPARE(result.def3(), QStringLiteral("新3"));
        QCOMPARE(result.fullName(), QStringLiteral("旧"));
        QCOMPARE(result.remark(), entry.remark());
        QCOMPARE(result.partyType(), refdata::partyOwn);
        party.setPartyType(refdata::partyPartner);
        QCOMPARE(refdata::overlayBillParty(entry, party).partyType(), refdata::partyPartner);
    }

    void deleteAllKeepsOtherType()
    {
        addPerson(*m_data, QStringLiteral("甲"), {}, refdata::partyOwn);
        addPerson(*m_data, QStringLiteral("乙"), {}, refdata::partyPartner);
        addPerson(*m_data, QStringLiteral("丙"), {}, refdata::partyPartner);
        QCOMPARE(m_dao->DeleteAllPersons(QStringLiteral(" 往来单位 ")), 2);
        QCOMPARE(m_dao->loadCompanyList(), QStringList{QStringLiteral("甲")});
        QCOMPARE(m_dao->DeleteAllPersons(QString()), 1);
        QCOMPARE(m_dao->CountPersons(), 0);
    }

    void kddResetAndTexts()
    {
        refdata::TPersonKDD p;
        QCOMPARE(p.ID(), 0);
        p.setID(4);
        p.setFullName(QStringLiteral("收件人"));
        p.setGoodsDescription(QStringLiteral("文件"));
        p.setDestination(QStringLiteral("广州"));
        QCOMPARE(p.goodsDescription(), QStringLiteral("文件"));
        QCOMPARE(p.destination(), QStringLiteral("广州"));
        p.reset();
        QCOMPARE(p.ID(), -1);
        QVERIFY(p.fullName().isEmpty());
        QVERIFY(p.goodsDescription().isEmpty());
        QVERIFY(p.destination().isEmpty());
    }

    void classPersonPaths()
    {
        data().exec(QStringLiteral("insert into ClassPerson (FullPathName) values (?)"), {QStringLiteral("客户\\华南")});
        data().exec(QStringLiteral("insert into ClassPerson (FullPathName) values (?)"), {QStringLiteral("客户")});
        QCOMPARE(m_dao->loadClassPersonPaths(), (QStringList{QStringLiteral("客户"), QStringLiteral("客户\\华南")}));
    }

    void likeMatching_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::newRow("contains") << "广州市天河" << "%天河%" << true;
        QTest::newRow("ascii case") << "ABC公司" << "%abc%" << true;
        QTest::newRow("underscore one char") << "a1b" << "a_b" << true;
        QTest::newRow("underscore needs a char") << "ab" << "a_b" << false;
        QTest::newRow("percent any run") << "100%纯净" << "%0%纯%" << true;
        QTest::newRow("anchored end") << "abc" << "%b" << false;
        QTest::newRow("backtracking") << "aaab" << "%a%ab" << true;
        QTest::newRow("null text") << QString() << "%" << false;
        QTest::newRow("empty text") << "" << "%%" << true;
    }
    void likeMatching()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(refdata::likeMatch(text, pattern), matches);
    }

    void listModelFiltersAndSorts()
    {
        addPerson(*m_data, QStringLiteral("b公司"), QStringLiteral("k1"), refdata::partyOwn, QStringLiteral("G"), 1);
        addPerson(*m_data, QStringLiteral("a公司"), QStringLiteral("k2"), refdata::partyPartner, QStringLiteral("G"), 5);
        addPerson(*m_data, QStringLiteral("c 100%"), QStringLiteral("k3"), refdata::partyPartner, {}, 5);
        PersonListModel model;
        QVERIFY(model.load(m_data->db()));
        auto names = [&] {
            QStringList n;
            for (int r = 0; r < model.rowCount(); ++r)
                n << model.value(r, QStringLiteral("全称"));
            return n;
        };
        PersonFilter f;
        f.sortColumns = {QStringLiteral("排序"), QStringLiteral("全称")};
        f.direction = QStringLiteral("desc");
        model.apply(f);
        QCOMPARE(names(), (QStringList{QStringLiteral("c 100%"), QStringLiteral("a公司"), QStringLiteral("b公司")}));

        f.partyType = refdata::partyPartner;
        f.group = QStringLiteral("G");
        model.apply(f);
        QCOMPARE(names(), QStringList{QStringLiteral("a公司")});

        PersonFilter exact;
        exact.column = QStringLiteral("全称");
        exact.key = QStringLiteral("c 100%");
        exact.equals = true;
        model.apply(exact);
        QCOMPARE(names(), QStringList{QStringLiteral("c 100%")});
        exact.key = QStringLiteral("c 100");
        model.apply(exact);
        QCOMPARE(model.rowCount(), 0);

        PersonFilter keyword;
        keyword.keyword = QStringLiteral("K2");
        model.apply(keyword);
        QCOMPARE(names(), QStringList{QStringLiteral("a公司")});
    }

private:
    const test::TestData &data() const { return *m_data; }
    std::unique_ptr<test::TestData> m_data;
    std::unique_ptr<DAOPerson> m_dao;
};

QTEST_GUILESS_MAIN(TestRefdataPerson)
#include "test_refdata_person.moc"
