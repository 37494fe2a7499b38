// Template management: the list filters, default and common marks, hiding,
// cloning, renaming, deleting and the cache reset, each command whole or not
// at all.

#include "support/TemplateFixture.h"
#include "templates/TemplateManagement.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace moque;
using templates::TemplateManagement;
using test::addTemplate;
using test::TemplateSpec;
using test::testKind;
namespace marker = templates::marker;
using Tab = TemplateManagement::Tab;

Q_DECLARE_METATYPE(TemplateManagement::Tab)

namespace {

const QString waybill = QStringLiteral("快递单");

struct Fixture
{
    test::TestData data;
    std::unique_ptr<TemplateManagement> mgmt;

    bool open()
    {
        if (!test::openWithoutTemplates(data))
            return false;
        mgmt = std::make_unique<TemplateManagement>(data.db(), data.dialogs, data.core->store(), imageDir());
        return true;
    }
    QString imageDir() const { return data.core->dir().imageDir(); }
    QString value(int id, const QString &column) const
    {
        return data.scalar(QStringLiteral("select ") + column + QStringLiteral(" from CKTypeTable where CheckTypeID=?"),
                           {id})
            .toString();
    }
    int count(const QString &table, int id) const
    {
        return data.scalar(QStringLiteral("select count(*) from ") + table + QStringLiteral(" where CheckTypeID=?"),
                           {id})
            .toInt();
    }
    bool writePicture(const QString &name, const QByteArray &bytes = "picture bytes") const
    {
        QDir().mkpath(imageDir());
        QFile f(imageDir() + name);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    bool pictureExists(const QString &name) const { return QFile::exists(imageDir() + name); }
    QList<int> listed(Tab tab, const QString &kind = {}, const QString &keyword = {}) const
    {
        const TemplateManagement::ListQuery l = TemplateManagement::listQuery(tab, kind, keyword);
        QSqlQuery q(data.db());
        q.prepare(l.sql);
        for (int i = 0; i < l.values.size(); ++i)
            q.bindValue(i, l.values[i]);
        QList<int> ids;
        if (!q.exec())
            return {-1};
        while (q.next())
            ids << q.value(0).toInt();
        return ids;
    }
    // Every row of the three tables a template owns, as text, to compare before and after.
    QStringList snapshot() const
    {
        QStringList rows;
        for (const char *table : {"CKTypeTable", "ckControl", "DMTable"}) {
            QSqlQuery q(data.db());
            q.exec(QStringLiteral("select * from %1 order by 1,2").arg(QLatin1String(table)));
            while (q.next()) {
                QStringList values{QLatin1String(table)};
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                rows << values.join(QLatin1Char('|'));
            }
        }
        return rows;
    }
};

// A waybill template with two print items whose every column differs from the defaults,
// two configuration entries and a picture.
bool addRichTemplate(Fixture &f, int id, const QString &name, const QString &picture)
{
    return addTemplate(f.data, {.id = id, .kind = waybill, .name = name, .isCommon = marker::common})
           && f.data.exec(QStringLiteral("update CKTypeTable set XMove=11,YMove=-12,THeight=613,TWidth=914,HVPrint=1,"
                                         "CheckBoxs='甲,乙',ShowOrd=5,PWidth=2410,PHeight=1390,InputBgColor='clRed',"
                                         "InputFtColor='clBlue',IniFile='old.ini',ImgFile=? where CheckTypeID=?"),
                          {picture, id})
           && f.data.exec(QStringLiteral(
                              "insert into ckControl (CheckTypeID,CtlName,CtlCName,CtlX,CtlY,CtlH,CtlW,CtlLH,SrcX,SrcY,"
                              "SrcH,SrcW,CtlFontName,CtlFontSize,BreakFontSize,CtlFontColor,Bold,Italic,UnderLine,"
                              "FitParam,BreakNum,ShowOrd,NeedShow,NeedPrint,CtlType,InitValue) values "
                              "(?,'ZDSKR','收件人',101,102,103,104,105,106,107,108,109,'黑体',12,8,'clGreen',1,1,1,"
                              "'fit','4',3,0,0,'TEXT','某公司'),"
                              "(?,'ZDHKR','寄件人',201,202,203,204,205,206,207,208,209,'宋体',14,6,'clNavy',0,1,0,"
                              "'','',4,1,1,'MEMO','')"),
                          {id, id})
           && f.data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (?,'选项','1'),"
                                         "(?,'ZDSKR','张三')"),
                          {id, id})
           && f.writePicture(picture);
}

const QString itemColumns = QStringLiteral(
    "CtlName,CtlCName,CtlX,CtlY,CtlH,CtlW,CtlLH,SrcX,SrcY,SrcH,SrcW,CtlFontName,CtlFontSize,BreakFontSize,"
    "CtlFontColor,Bold,Italic,UnderLine,FitParam,BreakNum,ShowOrd,NeedShow,NeedPrint,CtlType,InitValue");

QStringList itemRows(const Fixture &f, int id)
{
    QSqlQuery q(f.data.db());
    q.prepare(QStringLiteral("select ") + itemColumns + QStringLiteral(" from ckControl where CheckTypeID=? order by ID"));
    q.addBindValue(id);
    q.exec();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTemplatesManagement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- the list ---

    void listFilters_data()
    {
        QTest::addColumn<Tab>("tab");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QList<int>>("expected");

        // In the order of full names: 快递单（ABC顺丰） 1003, 快递单（O'K） 1004, 测试单（丙） 1005, 测试单（甲） 1001.
        QTest::newRow("usable") << Tab::Usable << QString() << QString() << QList<int>{1003, 1004, 1005, 1001};
        QTest::newRow("common") << Tab::Common << QString() << QString() << QList<int>{1003, 1001};
        QTest::newRow("default") << Tab::Default << QString() << QString() << QList<int>{1001};
        QTest::newRow("hidden") << Tab::Hidden << QString() << QString() << QList<int>{1002};
        QTest::newRow("kind") << Tab::Usable << waybill << QString() << QList<int>{1003, 1004};
        QTest::newRow("all kinds") << Tab::Usable << TemplateManagement::allKinds << QString()
                                   << QList<int>{1003, 1004, 1005, 1001};
        QTest::newRow("keyword upper-cased") << Tab::Usable << QString() << QStringLiteral("abc")
                                             << QList<int>{1003};
        QTest::newRow("keyword with a quote") << Tab::Usable << QString() << QStringLiteral("O'K")
                                              << QList<int>{1004};
        QTest::newRow("kind and keyword") << Tab::Usable << testKind << QStringLiteral("丙") << QList<int>{1005};
        QTest::newRow("hidden of a kind") << Tab::Hidden << waybill << QString() << QList<int>{};
    }

    void listFilters()
    {
        QFETCH(Tab, tab);
        QFETCH(QString, kind);
        QFETCH(QString, keyword);
        QFETCH(QList<int>, expected);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addTemplate(f.data, {.id = 1001, .name = QStringLiteral("甲"), .isDefault = marker::isDefault,
                                     .isCommon = marker::common}));
        QVERIFY(addTemplate(f.data, {.id = 1002, .name = QStringLiteral("乙"), .visible = marker::hidden}));
        QVERIFY(addTemplate(f.data, {.id = 1003, .kind = waybill, .name = QStringLiteral("ABC顺丰"),
                                     .isCommon = marker::common}));
        QVERIFY(addTemplate(f.data, {.id = 1004, .kind = waybill, .name = QStringLiteral("O'K")}));
        QVERIFY(addTemplate(f.data, {.id = 1005, .name = QStringLiteral("丙")}));
        QCOMPARE(f.listed(tab, kind, keyword), expected);
    }

    // The grid shows the columns under the captions the window's users know.
    void listColumns()
    {
        Fixture f;
        QVERIFY(f.open());
        const TemplateManagement::ListQuery l = TemplateManagement::listQuery(Tab::Hidden, testKind, {});
        QSqlQuery q(f.data.db());
        QVERIFY(q.prepare(l.sql));
        for (int i = 0; i < l.values.size(); ++i)
            q.bindValue(i, l.values[i]);
        QVERIFY(q.exec());
        QStringList names;
        for (int i = 0; i < q.record().count(); ++i)
            names << q.record().fieldName(i);
        QCOMPARE(names, (QStringList{QStringLiteral("编号"), QStringLiteral("模板种类"), QStringLiteral("默认"),
                                     QStringLiteral("常用"), QStringLiteral("是否启用"), QStringLiteral("TypeFirstName"),
                                     QStringLiteral("底图")}));
    }

    void buttons_data()
    {
        QTest::addColumn<Tab>("tab");
        // default, common, hide, enable, remove from common, delete
        QTest::addColumn<QString>("expected");
        QTest::newRow("usable") << Tab::Usable << QStringLiteral("111001");
        QTest::newRow("common") << Tab::Common << QStringLiteral("101011");
        QTest::newRow("default") << Tab::Default << QStringLiteral("000000");
        QTest::newRow("hidden") << Tab::Hidden << QStringLiteral("110101");
    }

    void buttons()
    {
        QFETCH(Tab, tab);
        QFETCH(QString, expected);
        const TemplateManagement::Buttons b = TemplateManagement::buttonsFor(tab);
        QString got;
        for (bool on : {b.setDefault, b.setCommon, b.hide, b.enable, b.removeCommon, b.remove})
            got += on ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(got, expected);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("defaultCaption");
        QTest::addColumn<QString>("commonCaption");
        QTest::newRow("kind") << waybill << QStringLiteral("设置为【默认】快递单") << QStringLiteral("设置为【常用】快递单");
        QTest::newRow("all") << TemplateManagement::allKinds << QStringLiteral("设置为【默认】模板")
                             << QStringLiteral("设置为【常用】模板");
        QTest::newRow("none") << QString() << QStringLiteral("设置为【默认】模板") << QStringLiteral("设置为【常用】模板");
    }

    void captions()
    {
        QFETCH(QString, kind);
        QFETCH(QString, defaultCaption);
        QFETCH(QString, commonCaption);
        QCOMPARE(TemplateManagement::defaultButtonCaption(kind), defaultCaption);
        QCOMPARE(TemplateManagement::commonButtonCaption(kind), commonCaption);
        QCOMPARE(TemplateManagement::windowCaption(QStringLiteral("快递单"), 3), QStringLiteral("快递单模板管理(查询3个)"));
    }

    // --- default, common, hidden ---

    void setDefault_data()
    {
        QTest::addColumn<QString>("visible");
        QTest::addColumn<QString>("common");
        QTest::newRow("hidden, not common") << marker::hidden << marker::notCommon;
        QTest::newRow("enabled, common") << marker::enabled << marker::common;
    }

    void setDefault()
    {
        QFETCH(QString, visible);
        QFETCH(QString, common);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addTemplate(f.data, {.id = 1001, .name = QStringLiteral("旧"), .isDefault = marker::isDefault,
                                     .isCommon = marker::common}));
        QVERIFY(addTemplate(f.data, {.id = 1002, .name = QStringLiteral("新"), .visible = visible, .isCommon = common}));
        QVERIFY(addTemplate(f.data, {.id = 1003, .kind = waybill, .name = QStringLiteral("别类"),
                                     .isDefault = marker::isDefault}));

        QVERIFY(f.mgmt->setDefault(1002));

        QCOMPARE(f.value(1002, QStringLiteral("IsDefault")), marker::isDefault);
        QCOMPARE(f.value(1002, QStringLiteral("Visiable")), marker::enabled);
        QCOMPARE(f.value(1002, QStringLiteral("IsCommon")), marker::common);
        QCOMPARE(f.value(1001, QStringLiteral("IsDefault")), QStringLiteral("0"));
        QCOMPARE(f.value(1003, QStringLiteral("IsDefault")), marker::isDefault);
        QCOMPARE(f.data.dialogs.texts(), QStringList{QStringLiteral("默认【测试单票据】模板设置成功！")});
        QCOMPARE(f.listed(Tab::Default, testKind), QList<int>{1002});
    }

    void setDefaultWithoutRow()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(!f.mgmt->setDefault(0));
        QCOMPARE(f.data.dialogs.texts(), QStringList{QStringLiteral("没有选中要设置的票据模板！")});
    }

    void commonMarks_data()
    {
        QTest::addColumn<bool>("common");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("marks"); // IsCommon of 1001 (default), 1002, 1003 afterwards
        QTest::newRow("remove, default among them")
            << false << 2
            << QStringList{QStringLiteral("默认模板不能从常用模板移出！"),
                           QStringLiteral("共从常用模板移出 2 个模板为普通模板！")}
            << QStringList{marker::common, marker::notCommon, marker::notCommon};
        QTest::newRow("add, a missing one not counted")
            << true << 3
            << QStringList{QStringLiteral("共添加 3 个模板为常用模板！\n\n新设置常用快递后，请重开快递单填开界面生效~")}
            << QStringList{marker::common, marker::common, marker::common};
    }

    void commonMarks()
    {
        QFETCH(bool, common);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, marks);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addTemplate(f.data, {.id = 1001, .name = QStringLiteral("默"), .isDefault = marker::isDefault,
                                     .isCommon = marker::common}));
        QVERIFY(addTemplate(f.data, {.id = 1002, .name = QStringLiteral("甲"), .isCommon = marker::common}));
        QVERIFY(addTemplate(f.data, {.id = 1003, .name = QStringLiteral("乙"), .visible = marker::hidden,
                                     .isCommon = common ? marker::notCommon : marker::common}));
        const QList<int> ids{1002, 1001, 1003, 4242};
        QCOMPARE(common ? f.mgmt->setCommon(ids) : f.mgmt->removeFromCommon(ids), expected);
        QCOMPARE(f.data.dialogs.texts(), messages);
        QCOMPARE((QStringList{f.value(1001, QStringLiteral("IsCommon")), f.value(1002, QStringLiteral("IsCommon")),
                              f.value(1003, QStringLiteral("IsCommon"))}),
                 marks);
        // Both commands enable what they touch.
        QCOMPARE(f.value(1003, QStringLiteral("Visiable")), marker::enabled);
    }

    void hideDefault()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addTemplate(f.data, {.id = 1001, .name = QStringLiteral("默"), .isDefault = marker::isDefault,
                                     .isCommon = marker::common}));
        QVERIFY(f.mgmt->hide({1001}));
        QCOMPARE(f.data.dialogs.texts(), QStringList{QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。")});
        QCOMPARE(f.value(1001, QStringLiteral("IsDefault")), marker::isDefault);
        for (Tab tab : {Tab::Usable, Tab::Common, Tab::Default})
            QCOMPARE(f.listed(tab), QList<int>{});
        QCOMPARE(f.listed(Tab::Hidden), QList<int>{1001});

        QVERIFY(f.mgmt->enable({1001}));
        QCOMPARE(f.listed(Tab::Default), QList<int>{1001});
        QVERIFY(!f.mgmt->hide({}));
    }

    // --- clone ---

    void cleanName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks, parentheses, percent") << QStringLiteral(" 新%(样)") << QStringLiteral("新样");
        QTest::newRow("full-width and quote") << QStringLiteral("（甲）'乙") << QStringLiteral("甲乙");
        QTest::newRow("star, question, inner blank") << QStringLiteral("a *b?c") << QStringLiteral("abc");
        QTest::newRow("nothing left") << QStringLiteral(" ()%* ") << QString();
    }

    void cleanName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(TemplateManagement::cleanName(typed), expected);
    }

    void cloneName_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("newId");
        QTest::addColumn<QStringList>("messages");
        const QString exists = QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或该模版正被隐藏。");
        QTest::newRow("cleaned") << QStringLiteral(" 新%(样)") << 1003
                                 << QStringList{QStringLiteral("克隆模板成功，已新增一个同类模板~")};
        QTest::newRow("hidden name") << QStringLiteral("藏") << 0 << QStringList{exists};
        QTest::newRow("same name cleaned") << QStringLiteral("(源)") << 0 << QStringList{exists};
        QTest::newRow("nothing left") << QStringLiteral("?*")
                                      << 0 << QStringList{QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!")};
        QTest::newRow("unchanged") << QStringLiteral("源") << 0 << QStringList{};
        QTest::newRow("cancelled") << QString() << 0 << QStringList{};
    }

    void cloneName()
    {
        QFETCH(QString, answer);
        QFETCH(int, newId);
        QFETCH(QStringList, messages);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("源"), QStringLiteral("kdd1001.jpg")));
        QVERIFY(addTemplate(f.data, {.id = 1002, .kind = waybill, .name = QStringLiteral("藏"),
                                     .visible = marker::hidden}));
        f.data.dialogs.inputs.enqueue(answer);
        const QStringList before = f.snapshot();

        QCOMPARE(f.mgmt->cloneTemplate(1001), newId);

        QCOMPARE(f.data.dialogs.shown.first().text, QStringLiteral("输入新模板名(15个汉字以内)："));
        QCOMPARE(f.data.dialogs.shown.first().caption, QStringLiteral("源|string"));
        QCOMPARE(f.data.dialogs.texts().mid(1), messages);
        if (newId == 0) {
            QCOMPARE(f.snapshot(), before);
        } else {
            QCOMPARE(f.value(newId, QStringLiteral("TypeName")), QStringLiteral("快递单（新样）"));
            QCOMPARE(f.value(newId, QStringLiteral("TypeDescribe")), QStringLiteral("新样"));
        }
    }

    void cloneCopiesTemplate()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1436, QStringLiteral("源"), QStringLiteral("source.jpg")));
        QVERIFY(f.data.exec(QStringLiteral("update CKTypeTable set IsDefault=? where CheckTypeID=1436"),
                            {marker::isDefault}));
        f.data.dialogs.inputs.enqueue(QStringLiteral("新"));

        QCOMPARE(f.mgmt->cloneTemplate(1436), 1437);

        const QString copied = QStringLiteral("XMove,YMove,THeight,TWidth,HVPrint,Visiable,CheckBoxs,ShowOrd,IsCommon,"
                                              "PWidth,PHeight,InputBgColor,InputFtColor");
        for (const QString &column : copied.split(QLatin1Char(',')))
            QCOMPARE(f.value(1437, column), f.value(1436, column));
        QCOMPARE(f.value(1437, QStringLiteral("TypeFirstName")), waybill);
        QCOMPARE(f.value(1437, QStringLiteral("TypeName")), QStringLiteral("快递单（新）"));
        QCOMPARE(f.value(1437, QStringLiteral("IsDefault")), QStringLiteral("0"));
        QCOMPARE(f.value(1437, QStringLiteral("IniFile")), QString());
        QCOMPARE(f.value(1437, QStringLiteral("ImgFile")), QStringLiteral("kdd1437.jpg"));

        const QStringList items = itemRows(f, 1437);
        QCOMPARE(items.size(), 2);
        QCOMPARE(items, itemRows(f, 1436));
        QCOMPARE(f.count(QStringLiteral("DMTable"), 1437), 0);
        QCOMPARE(fileBytes(f.imageDir() + QStringLiteral("kdd1437.jpg")), QByteArray("picture bytes"));
    }

    // --- whole or nothing ---

    void failsHalfway_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("message");
        QTest::newRow("clone, items refused")
            << QStringLiteral("clone")
            << QStringLiteral("create trigger stop before insert on ckControl begin select raise(abort,'stop'); end")
            << QStringLiteral("修改失败，错误=stop");
        QTest::newRow("clone, no items")
            << QStringLiteral("clone") << QStringLiteral("delete from ckControl")
            << QStringLiteral("修改失败，错误=找不到源模板细节数据，ID=1001");
        QTest::newRow("delete, configuration refused")
            << QStringLiteral("delete")
            << QStringLiteral("create trigger stop before delete on DMTable begin select raise(abort,'stop'); end")
            << QStringLiteral("模板删除失败,中止！~");
        QTest::newRow("delete, items refused")
            << QStringLiteral("delete")
            << QStringLiteral("create trigger stop before delete on ckControl begin select raise(abort,'stop'); end")
            << QStringLiteral("模板删除失败,中止！~");
        QTest::newRow("rename refused")
            << QStringLiteral("rename")
            << QStringLiteral("create trigger stop before update on CKTypeTable begin select raise(abort,'stop'); end")
            << QStringLiteral("修改失败，错误=stop");
        QTest::newRow("default refused")
            << QStringLiteral("default")
            << QStringLiteral("create trigger stop before update of IsDefault on CKTypeTable when new.IsDefault=? "
                              "begin select raise(abort,'stop'); end")
            << QStringLiteral("模板设置失败,中止！~");
    }

    void failsHalfway()
    {
        QFETCH(QString, command);
        QFETCH(QString, trigger);
        QFETCH(QString, message);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("源"), QStringLiteral("kdd1001.jpg")));
        QVERIFY(addTemplate(f.data, {.id = 1002, .kind = waybill, .name = QStringLiteral("旧默认"),
                                     .isDefault = marker::isDefault}));
        // A trigger's text takes no parameters: the marker goes in as it stands.
        QVERIFY(f.data.exec(QString(trigger).replace(QLatin1Char('?'), QStringLiteral("'默认'"))));
        const QStringList before = f.snapshot();
        f.data.dialogs.inputs.enqueue(QStringLiteral("新"));
        f.data.dialogs.answers << true << true;

        if (command == QLatin1String("clone"))
            QCOMPARE(f.mgmt->cloneTemplate(1001), 0);
        else if (command == QLatin1String("delete"))
            QCOMPARE(f.mgmt->deleteTemplates({1001}), -1);
        else if (command == QLatin1String("rename"))
            QVERIFY(!f.mgmt->renameTemplate(1001));
        else
            QVERIFY(!f.mgmt->setDefault(1001));

        QVERIFY2(f.data.dialogs.lastText().startsWith(message), qPrintable(f.data.dialogs.lastText()));
        QCOMPARE(f.snapshot(), before);
        QVERIFY(f.pictureExists(QStringLiteral("kdd1001.jpg")));
        QVERIFY(!f.pictureExists(QStringLiteral("kdd1003.jpg")));
    }

    // --- delete ---

    void deleteTemplate_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("deleted");
        QTest::newRow("yes, yes") << QList<bool>{true, true} << 1;
        QTest::newRow("no") << QList<bool>{false} << 0;
        QTest::newRow("yes, no") << QList<bool>{true, false} << 0;
    }

    void deleteTemplate()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(int, deleted);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("O'K"), QStringLiteral("kdd1001.jpg")));
        QVERIFY(addRichTemplate(f, 1002, QStringLiteral("留"), QStringLiteral("kdd1002.jpg")));
        QVERIFY(f.data.exec(QStringLiteral("insert into DataKDDTable (模板种类) values (?)"),
                            {QStringLiteral("快递单（O'K）")}));
        for (bool a : answers)
            f.data.dialogs.answers << a;

        QCOMPARE(f.mgmt->deleteTemplates({1001}), deleted);

        QStringList expected{QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。")};
        if (answers.first())
            expected << QStringLiteral("确认删除票据模板【快递单（O'K）】吗？");
        expected << QStringLiteral("共删除 %1 个模板！").arg(deleted);
        QCOMPARE(f.data.dialogs.texts(), expected);
        const int left = deleted ? 0 : 1;
        QCOMPARE(f.count(QStringLiteral("CKTypeTable"), 1001), left);
        QCOMPARE(f.count(QStringLiteral("ckControl"), 1001), left * 2);
        QCOMPARE(f.count(QStringLiteral("DMTable"), 1001), left * 2);
        QCOMPARE(f.pictureExists(QStringLiteral("kdd1001.jpg")), bool(left));
        // The other template and the saved bill stay.
        QCOMPARE(f.count(QStringLiteral("ckControl"), 1002), 2);
        QCOMPARE(f.count(QStringLiteral("DMTable"), 1002), 2);
        QVERIFY(f.pictureExists(QStringLiteral("kdd1002.jpg")));
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from DataKDDTable where 模板种类=?"),
                               {QStringLiteral("快递单（O'K）")})
                     .toInt(),
                 1);
    }

    void deleteKeepsSharedPicture()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("甲"), QStringLiteral("shared.jpg")));
        QVERIFY(addRichTemplate(f, 1002, QStringLiteral("乙"), QStringLiteral("shared.jpg")));
        f.data.dialogs.answers << true << true;
        QCOMPARE(f.mgmt->deleteTemplates({1001}), 1);
        QVERIFY(f.pictureExists(QStringLiteral("shared.jpg")));
    }

    // --- rename ---

    void rename_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("renamed") << QStringLiteral(" 新 名(1)") << QStringLiteral("快递单（新名1）")
                                 << QStringList{QStringLiteral("重名名成功~")};
        QTest::newRow("hidden name")
            << QStringLiteral("藏") << QStringLiteral("快递单（O'K）")
            << QStringList{QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。")};
        QTest::newRow("nothing left") << QStringLiteral("'") << QStringLiteral("快递单（O'K）")
                                      << QStringList{QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!")};
        QTest::newRow("unchanged") << QStringLiteral("O'K") << QStringLiteral("快递单（O'K）") << QStringList{};
    }

    void rename()
    {
        QFETCH(QString, answer);
        QFETCH(QString, fullName);
        QFETCH(QStringList, messages);
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addTemplate(f.data, {.id = 1001, .kind = waybill, .name = QStringLiteral("O'K")}));
        QVERIFY(addTemplate(f.data, {.id = 1002, .kind = waybill, .name = QStringLiteral("藏"),
                                     .visible = marker::hidden}));
        f.data.dialogs.inputs.enqueue(answer);

        f.mgmt->renameTemplate(1001);

        QCOMPARE(f.value(1001, QStringLiteral("TypeName")), fullName);
        QCOMPARE(f.value(1001, QStringLiteral("TypeFirstName")), waybill);
        QCOMPARE(f.data.dialogs.shown.first().caption, QStringLiteral("O'K|string"));
        QCOMPARE(f.data.dialogs.texts().mid(1), messages);
    }

    void renameProposesDisplayName()
    {
        Fixture f;
        QVERIFY(f.open());
        // An older row without its kind: the kind still comes from the full name.
        QVERIFY(f.data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,Visiable) values (7,?,?)"),
                            {QStringLiteral("快递单（顺丰）"), marker::enabled}));
        f.data.dialogs.inputs.enqueue(QStringLiteral("中通"));
        QVERIFY(f.mgmt->renameTemplate(7));
        QCOMPARE(f.data.dialogs.shown.first().text, QStringLiteral("输入新模板名(15个汉字以内):"));
        QCOMPARE(f.data.dialogs.shown.first().caption, QStringLiteral("顺丰|string"));
        QCOMPARE(f.value(7, QStringLiteral("TypeDescribe")), QStringLiteral("中通"));
        QCOMPARE(f.value(7, QStringLiteral("TypeFirstName")), waybill);
        QCOMPARE(f.value(7, QStringLiteral("TypeName")), QStringLiteral("快递单（中通）"));
    }

    // --- cache reset ---

    void resetCache()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("用"), QStringLiteral("kdd1001.jpg")));
        // A template of a kind without a dictionary, with its items and entries.
        QVERIFY(addTemplate(f.data, {.id = 1002, .kind = QStringLiteral("废单"), .name = QStringLiteral("旧")}));
        QVERIFY(test::addItem(f.data, {.templateId = 1002, .name = QStringLiteral("ZDSKR")}));
        QVERIFY(f.data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (1002,'a','b')")));
        // A print item of a field no dictionary has, and one of a known field in lower case.
        QVERIFY(test::addItem(f.data, {.templateId = 1001, .name = QStringLiteral("ZDGONE")}));
        QVERIFY(test::addItem(f.data, {.templateId = 1001, .name = QStringLiteral("zdskr")}));
        const int shared = f.data.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=0")).toInt();
        for (const char *name : {"Sys_boot.jpg", "sys_bg.jpg", "kdd1001.jpg", "kdd1002.jpg", "kdd9.jpg"})
            QVERIFY(f.writePicture(QLatin1String(name)));

        QString error;
        const TemplateManagement::CacheReset removed = f.mgmt->resetCache(&error);

        QCOMPARE(error, QString());
        QCOMPARE(removed.templates, 1);
        QCOMPARE(removed.printItems, 2);
        QCOMPARE(removed.entries, 1);
        QCOMPARE(f.value(1001, QStringLiteral("IniFile")), QString());
        QCOMPARE(f.count(QStringLiteral("CKTypeTable"), 1002), 0);
        QCOMPARE(f.count(QStringLiteral("ckControl"), 1002), 0);
        QCOMPARE(f.count(QStringLiteral("ckControl"), 1001), 3);
        QCOMPARE(f.count(QStringLiteral("DMTable"), 1001), 2);
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=0")).toInt(), shared);
        for (const char *kept : {"Sys_boot.jpg", "sys_bg.jpg", "kdd1001.jpg"})
            QVERIFY2(f.pictureExists(QLatin1String(kept)), kept);
        for (const char *gone : {"kdd1002.jpg", "kdd9.jpg"}) {
            QVERIFY2(!f.pictureExists(QLatin1String(gone)), gone);
            QVERIFY(removed.pictures.contains(QLatin1String(gone)));
        }
    }

    void resetCacheFailsWhole()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(addRichTemplate(f, 1001, QStringLiteral("用"), QStringLiteral("kdd1001.jpg")));
        QVERIFY(addTemplate(f.data, {.id = 1002, .kind = QStringLiteral("废单"), .name = QStringLiteral("旧")}));
        QVERIFY(f.data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (1002,'a','b')")));
        QVERIFY(f.data.exec(
            QStringLiteral("create trigger stop before delete on DMTable begin select raise(abort,'stop'); end")));
        QVERIFY(f.writePicture(QStringLiteral("kdd9.jpg")));
        const QStringList before = f.snapshot();

        QString error;
        const TemplateManagement::CacheReset removed = f.mgmt->resetCache(&error);

        QVERIFY(error.startsWith(QStringLiteral("清除软件缓存失败！")));
        QVERIFY(error.contains(QLatin1String("stop")));
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(removed.templates, 0);
        // The pictures are cleared all the same.
        QVERIFY(!f.pictureExists(QStringLiteral("kdd9.jpg")));
        QVERIFY(f.pictureExists(QStringLiteral("kdd1001.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestTemplatesManagement)
#include "test_templates_management.moc"
