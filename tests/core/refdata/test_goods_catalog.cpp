#include "refdata/GoodsCatalog.h"
#include "support/TestData.h"

#include <QSqlQuery>
#include <QTest>

using namespace moque;
using refdata::Good;
using refdata::GoodsCatalog;
using refdata::GoodsFilter;

namespace {

Good good(const QString &name, const QString &model, const QString &price, const QString &category = {})
{
    Good g;
    g.name = name;
    g.model = model;
    g.price = price;
    g.category = category;
    g.unit = QStringLiteral("个");
    return g;
}

QStringList namesOf(const QList<Good> &goods)
{
    QStringList names;
    for (const Good &g : goods)
        names << g.name + QLatin1Char('/') + g.model;
    return names;
}

} // namespace

class TestGoodsCatalog : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    GoodsCatalog catalog() const { return GoodsCatalog(m_data->db()); }
    void store(Good g)
    {
        QString message;
        QVERIFY2(catalog().save(g, &message), qPrintable(message));
    }
    int rows() const { return m_data->scalar(QStringLiteral("select count(*) from Products")).toInt(); }

private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        QVERIFY(m_data->exec(QStringLiteral("delete from Products")));
    }

    void newEntryAndTheSameAgain()
    {
        Good g = good(QStringLiteral(" 打印纸 "), QStringLiteral("A4"), QStringLiteral("25"), QStringLiteral(" 纸品 "));
        QString message;
        QVERIFY(catalog().save(g, &message));
        QCOMPARE(message, QStringLiteral("成功新增一条商品信息！"));
        QVERIFY(g.id > 0);
        QCOMPARE(g.name, QStringLiteral("打印纸"));
        QCOMPARE(g.category, QStringLiteral("纸品"));

        // The same name and model again rewrites that entry.
        Good again = good(QStringLiteral("打印纸"), QStringLiteral("A4"), QStringLiteral("26"));
        QVERIFY(catalog().save(again, &message));
        QCOMPARE(message, QStringLiteral("历史商品信息修改成功！"));
        QCOMPARE(rows(), 1);
        QCOMPARE(catalog().find({}).first().price, QStringLiteral("26"));

        // By its ID, even with a new name.
        g.name = QStringLiteral("复印纸");
        QVERIFY(catalog().save(g, &message));
        QCOMPARE(message, QStringLiteral("历史商品资料更新成功！"));
        QCOMPARE(namesOf(catalog().find({})), QStringList{"复印纸/A4"});
    }

    void refusedOrGone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << "  " << "1" << qint64(0) << "商品名不能为空！";
        QTest::newRow("no price") << "笔" << " " << qint64(0) << "单价不能为空！";
        QTest::newRow("deleted meanwhile") << "笔" << "1" << qint64(999) << "";
    }
    void refusedOrGone()
    {
        QFETCH(QString, name);
        QFETCH(QString, price);
        QFETCH(qint64, id);
        QFETCH(QString, message);
        Good g = good(name, QString(), price);
        g.id = id;
        QString said = QStringLiteral("?");
        QVERIFY(!catalog().save(g, &said));
        QCOMPARE(said, message);
        QCOMPARE(rows(), 0);
    }

    // Two old entries of one name and model both change, and no
    // success message claims one row.
    void duplicatesAllChangeSilently()
    {
        for (int i = 0; i < 2; ++i)
            QVERIFY(m_data->exec(QStringLiteral("insert into Products (商品名,规格,单价) values('笔','黑',1)")));
        Good g = good(QStringLiteral("笔"), QStringLiteral("黑"), QStringLiteral("2"));
        QString message;
        QVERIFY(catalog().save(g, &message));
        QVERIFY(message.isEmpty());
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from Products where 单价='2'")).toInt(), 2);
    }

    void quotesAreText()
    {
        store(good(QStringLiteral("O'Neil 笔"), QStringLiteral("1' or '1'='1"), QStringLiteral("3")));
        store(good(QStringLiteral("O'Neil 笔"), QStringLiteral("其他"), QStringLiteral("4")));
        QCOMPARE(rows(), 2);
        GoodsFilter f;
        f.keyword = QStringLiteral("'1'='1");
        QCOMPARE(namesOf(catalog().find(f)), QStringList{"O'Neil 笔/1' or '1'='1"});
    }

    void find_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("every entry, names last first") << "" << "所有商品" << "" << "商品名" << true
                                                      << QStringList{"笔/黑", "笔/红", "本/A5"};
        QTest::newRow("keyword in the model") << "A" << "" << "" << "商品名" << false
                                                      << QStringList{"本/A5"};
        QTest::newRow("one name, price ascending") << "" << "笔" << "" << "单价" << false
                                                  << QStringList{"笔/红", "笔/黑"};
        QTest::newRow("a category") << "" << "" << "文具" << "规格" << true << QStringList{"笔/黑", "笔/红"};
        QTest::newRow("keyword and category") << "红" << "" << "文具" << "商品名" << true << QStringList{"笔/红"};
        QTest::newRow("not a column: the table's order") << "" << "" << "" << "1; drop table Products" << true
                                                         << QStringList{"笔/黑", "本/A5", "笔/红"};
    }
    void find()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, name);
        QFETCH(QString, category);
        QFETCH(QString, sort);
        QFETCH(bool, descending);
        QFETCH(QStringList, found);
        store(good(QStringLiteral("笔"), QStringLiteral("黑"), QStringLiteral("3"), QStringLiteral("文具")));
        store(good(QStringLiteral("本"), QStringLiteral("A5"), QStringLiteral("5"), QStringLiteral("纸品")));
        store(good(QStringLiteral("笔"), QStringLiteral("红"), QStringLiteral("2"), QStringLiteral("文具")));
        GoodsFilter f{keyword, name, category, sort, descending};
        QString error;
        QCOMPARE(namesOf(catalog().find(f, &error)), found);
        QVERIFY(error.isEmpty());
        QCOMPARE(rows(), 3);
    }

    void listsOfTheCatalogue()
    {
        QCOMPARE(catalog().units(), (QStringList{"台", "只", "个", "箱", "套", "件"}));
        store(good(QStringLiteral("笔"), QStringLiteral("黑"), QStringLiteral("3"), QStringLiteral("文具")));
        store(good(QStringLiteral("本"), QStringLiteral("A5"), QStringLiteral("5"), QStringLiteral(" ")));
        QVERIFY(m_data->exec(QStringLiteral("insert into Products (商品名,单价,分类) values('尺','1',' 文具 ')")));
        QCOMPARE(catalog().units(), QStringList{"个"} << QString());
        QCOMPARE(catalog().categories(), QStringList{"文具"});
        QCOMPARE(catalog().names(), (QStringList{"笔", "本", "尺"}));
    }

    void removeAndClear()
    {
        Good a = good(QStringLiteral("笔"), QStringLiteral("黑"), QStringLiteral("3"));
        Good b = good(QStringLiteral("本"), QStringLiteral("A5"), QStringLiteral("5"));
        QString message;
        QVERIFY(catalog().save(a, &message) && catalog().save(b, &message));
        QString error;
        QVERIFY(catalog().remove({a.id}, &error));
        QCOMPARE(namesOf(catalog().find({})), QStringList{"本/A5"});
        QVERIFY(catalog().clear(&error));
        QCOMPARE(rows(), 0);
    }

    // Column-title clicks in a row: the first ascends, each further one turns
    // the direction, whichever column it names.
    void sortByTitleClicks_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("descending");
        QTest::newRow("untouched") << QStringList{} << "商品名" << true;
        QTest::newRow("first click") << QStringList{"单价"} << "单价" << false;
        QTest::newRow("same again") << QStringList{"单价", "单价"} << "单价" << true;
        QTest::newRow("another column after ascending") << QStringList{"单价", "规格"} << "规格" << true;
        QTest::newRow("three clicks") << QStringList{"商品名", "商品名", "商品名"} << "商品名" << false;
    }
    void sortByTitleClicks()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, column);
        QFETCH(bool, descending);
        GoodsFilter f;
        for (const QString &c : clicks)
            f.sortBy(c);
        QCOMPARE(f.sortColumn, column);
        QCOMPARE(f.descending, descending);
    }

    void categoryPaths_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("path");
        QTest::newRow("every category") << "" << "全部分类\\";
        QTest::newRow("one") << "纸品" << "全部分类\\纸品";
        QTest::newRow("with a backslash") << "a\\b" << "全部分类\\a\\b";
    }
    void categoryPaths()
    {
        QFETCH(QString, category);
        QFETCH(QString, path);
        QCOMPARE(GoodsCatalog::categoryPath(category), path);
        QCOMPARE(GoodsCatalog::categoryOfPath(path), category);
    }

    void pathOutsideTheTreeIsEveryCategory()
    {
        QCOMPARE(GoodsCatalog::categoryOfPath(QStringLiteral("全部分类")), QString());
        QCOMPARE(GoodsCatalog::categoryOfPath(QStringLiteral("纸品")), QString());
    }

    void refusalNamesTheMissingText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("complete") << "笔" << "1" << "";
        QTest::newRow("blank name") << " " << "1" << "商品名不能为空！";
        QTest::newRow("both missing") << "" << "" << "商品名不能为空！";
        QTest::newRow("blank price") << "笔" << "  " << "单价不能为空！";
    }
    void refusalNamesTheMissingText()
    {
        QFETCH(QString, name);
        QFETCH(QString, price);
        QFETCH(QString, refusal);
        QCOMPARE(GoodsCatalog::refusal(good(name, QString(), price)), refusal);
    }

    void listModelShowsEveryColumn()
    {
        Good g = good(QStringLiteral("笔"), QStringLiteral("黑"), QStringLiteral("3"), QStringLiteral("文具"));
        g.articleNo = QStringLiteral("B-1");
        g.wholesalePrice = QStringLiteral("2.5");
        g.shortCode = QStringLiteral("bi");
        g.remark = QStringLiteral("备");
        store(g);
        refdata::GoodsListModel model;
        model.setGoods(catalog().find({}));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 10);
        QStringList titles;
        QStringList texts;
        for (int c = 0; c < model.columnCount(); ++c) {
            titles << model.headerData(c, Qt::Horizontal).toString();
            texts << model.index(0, c).data().toString();
        }
        QCOMPARE(titles, GoodsCatalog::columns());
        QCOMPARE(titles, (QStringList{"ID", "商品名", "规格", "货号", "单位", "单价", "批价", "简码", "备注", "分类"}));
        const QString id = QString::number(catalog().find({}).first().id);
        QCOMPARE(texts, (QStringList{id, "笔", "黑", "B-1", "个", "3", "2.5", "bi", "备", "文具"}));
        QCOMPARE(model.good(0).name, QStringLiteral("笔"));
        QCOMPARE(model.good(5).id, qint64(0));
    }

    // Enough entries for several of the model's batches, read lazily: every
    // row shows what find gives for the same filter, in the same order.
    void loadedModelListsAsFind_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sortColumn");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<int>("rows");
        QTest::newRow("all, by name, last first") << "" << "" << "" << "商品名" << true << 650;
        QTest::newRow("keyword in the model, by price") << "型9" << "" << "" << "单价" << false << 11;
        QTest::newRow("one category, by article") << "" << "" << "五金" << "货号" << true << 217;
        QTest::newRow("one name") << "" << "商品7" << "" << "规格" << false << 65;
        QTest::newRow("nothing found") << "无此物" << "" << "" << "商品名" << true << 0;
    }
    void loadedModelListsAsFind()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, name);
        QFETCH(QString, category);
        QFETCH(QString, sortColumn);
        QFETCH(bool, descending);
        QFETCH(int, rows);
        storeMany(650);
        GoodsFilter filter;
        filter.keyword = keyword;
        filter.name = name;
        filter.category = category;
        filter.sortColumn = sortColumn;
        filter.descending = descending;
        const QList<Good> found = catalog().find(filter);
        QCOMPARE(found.size(), rows);
        refdata::GoodsListModel model;
        QString error;
        model.load(m_data->db(), filter, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(model.rowCount(), found.size());
        // From the end backwards, so that batches are read out of order.
        for (int r = model.rowCount() - 1; r >= 0; --r) {
            QStringList texts;
            for (int c = 0; c < model.columnCount(); ++c)
                texts << model.index(r, c).data().toString();
            const Good &g = found[r];
            QCOMPARE(texts, (QStringList{QString::number(g.id), g.name, g.model, g.articleNo, g.unit, g.price,
                                         g.wholesalePrice, g.shortCode, g.remark, g.category}));
            QCOMPARE(model.good(r).id, g.id);
        }
    }

    // A row read after its entry was deleted keeps its ID and shows no texts;
    // rows read before keep what they showed.
    void loadedModelAfterADeletion()
    {
        storeMany(450);
        refdata::GoodsListModel model;
        GoodsFilter filter;
        filter.sortColumn = QStringLiteral("货号");
        filter.descending = false;
        model.load(m_data->db(), filter);
        QCOMPARE(model.rowCount(), 450);
        const QString first = model.index(0, 1).data().toString();
        const qint64 id0 = model.good(0).id;
        const qint64 id400 = catalog().find(filter).at(400).id;
        QString error;
        QVERIFY(catalog().remove({id0, id400}, &error));
        QCOMPARE(model.index(0, 1).data().toString(), first);
        QCOMPARE(model.good(400).id, id400);
        QCOMPARE(model.index(400, 0).data().toString(), QString::number(id400));
        QCOMPARE(model.index(400, 1).data().toString(), QString());
        QCOMPARE(model.index(401, 3).data().toString(), QStringLiteral("HH0401"));
    }

private:
    // Entries 商品<i % 10>, 型<i>, article HH<i>, in three categories.
    void storeMany(int count)
    {
        const QStringList categories{QStringLiteral("文具"), QStringLiteral("五金"), QStringLiteral("纸品")};
        QSqlDatabase db = m_data->db();
        QVERIFY(db.transaction());
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("insert into Products (商品名,规格,货号,单价,分类) values (?,?,?,?,?)")));
        for (int i = 0; i < count; ++i) {
            insert.bindValue(0, QStringLiteral("商品%1").arg(i % 10));
            insert.bindValue(1, QStringLiteral("型%1").arg(i));
            insert.bindValue(2, QStringLiteral("HH%1").arg(i, 4, 10, QLatin1Char('0')));
            insert.bindValue(3, QString::number(i % 37));
            insert.bindValue(4, categories[i % categories.size()]);
            QVERIFY(insert.exec());
        }
        QVERIFY(db.commit());
    }
};

QTEST_GUILESS_MAIN(TestGoodsCatalog)
#include "test_goods_catalog.moc"
