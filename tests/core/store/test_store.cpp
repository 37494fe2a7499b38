// The store's operations on the main connection, Jet's val() and the SQL
// functions registered for the system's statements, the default-data loader
// and where the data directory is.

#include "store/DataDirectory.h"
#include "store/DefaultData.h"
#include "store/JetFunctions.h"
#include "store/Schema.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace moque;

namespace {

QString declaredType(QSqlDatabase db, const QString &table, const QString &column)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (q.next())
        if (q.value(1).toString() == column)
            return q.value(2).toString();
    return QStringLiteral("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// An in-memory database with the data file's tables and nothing in them.
class EmptySchema
{
public:
    EmptySchema()
        : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        m_error = store::createMissingTables(db, store::dataFileTables());
    }
    ~EmptySchema()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    QString error() const { return m_error; }

private:
    QString m_name;
    QString m_error;
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- CountTableAllRows ---

    void countRows()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("MatchColumn")), 34);
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("ReceiverList")), 0);
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    void countRowsOfMissingTable()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("NoSuchTable")), 0);
        QCOMPARE(data.dialogs.shown.size(), 1);
        const QString text = data.dialogs.lastText();
        QVERIFY2(text.startsWith(QStringLiteral("计算表格总数失败:NoSuchTable-")), qPrintable(text));
        // The engine's message follows the dash.
        QVERIFY2(text.contains(QStringLiteral("no such table"), Qt::CaseInsensitive), qPrintable(text));
    }

    // --- aIFExistsColumn ---

    void columnExists_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("exists");
        QTest::newRow("existing") << "CKTypeTable" << "IsCommon" << true;
        QTest::newRow("other letter case") << "cktypetable" << "iscommon" << true;
        QTest::newRow("chinese column") << "DataKDDTable" << "总费用" << true;
        QTest::newRow("missing column") << "CKTypeTable" << "NoSuchColumn" << false;
        QTest::newRow("missing chinese column") << "DataKDDTable" << "不存在" << false;
        QTest::newRow("missing table") << "NoSuchTable" << "IsCommon" << false;
        QTest::newRow("column of another table") << "coins" << "TypeName" << false;
    }
    void columnExists()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(bool, exists);
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.core->store().aIFExistsColumn(table, column), exists);
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    // A connection given by the caller is the one asked.
    void columnExistsOnGivenConnection()
    {
        test::TestData data;
        QVERIFY(data.open());
        EmptySchema other;
        QVERIFY(other.error().isEmpty());
        QSqlQuery q(other.db());
        QVERIFY(q.exec(QStringLiteral("create table OnlyThere (Extra text)")));
        QVERIFY(data.core->store().aIFExistsColumn(QStringLiteral("OnlyThere"), QStringLiteral("Extra"), other.db()));
        QVERIFY(!data.core->store().aIFExistsColumn(QStringLiteral("OnlyThere"), QStringLiteral("Extra")));
        QVERIFY(!data.core->store().aIFExistsColumn(QStringLiteral("OnlyThere"), QStringLiteral("Other"), other.db()));
    }

    // --- aAddColumn ---

    void addColumn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("type");
        QTest::newRow("Number") << "Number" << "" << "INTEGER";
        QTest::newRow("numeric") << "numeric" << "10" << "INTEGER";
        QTest::newRow("long") << "long" << "" << "INTEGER";
        QTest::newRow("String empty size") << "String" << "" << "VARCHAR(50)";
        QTest::newRow("text blank size") << "text" << "  " << "VARCHAR(50)";
        QTest::newRow("varchar 30") << "varchar" << " 30 " << "VARCHAR(30)";
        QTest::newRow("TEXT 200") << "TEXT" << "200" << "VARCHAR(200)";
    }
    void addColumn()
    {
        QFETCH(QString, kind);
        QFETCH(QString, size);
        QFETCH(QString, type);
        test::TestData data;
        QVERIFY(data.open());
        QStringList progress;
        data.core->store().setProgress([&](const QString &text) { progress << text; });
        QVERIFY(data.core->store().aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("NewCol"), {}, size, kind));
        QCOMPARE(declaredType(data.db(), QStringLiteral("CKTypeTable"), QStringLiteral("NewCol")), type);
        QVERIFY(data.core->store().aIFExistsColumn(QStringLiteral("CKTypeTable"), QStringLiteral("NewCol")));
        QCOMPARE(progress, QStringList{QStringLiteral("升级表存储结构...CKTypeTable")});
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    void addColumnFails_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::newRow("column exists") << "CKTypeTable" << "IsCommon";
        QTest::newRow("missing table") << "NoSuchTable" << "Col";
    }
    void addColumnFails()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        test::TestData data;
        QVERIFY(data.open());
        QStringList progress;
        data.core->store().setProgress([&](const QString &text) { progress << text; });
        QVERIFY(!data.core->store().aAddColumn(table, column, {}, {}, QStringLiteral("String")));
        QCOMPARE(data.dialogs.shown.size(), 1);
        const QString prefix = QStringLiteral("修改表结构(") + column + QStringLiteral(")错误,Error=");
        QVERIFY2(data.dialogs.lastText().startsWith(prefix), qPrintable(data.dialogs.lastText()));
        QVERIFY(data.dialogs.lastText().size() > prefix.size());
        // The upgrade progress advances on failure too.
        QCOMPARE(progress, QStringList{QStringLiteral("升级表存储结构...") + table});
    }

    // A column added to a table keeps the rows it has and reads empty in them.
    void addColumnKeepsRows()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int before = data.core->store().CountTableAllRows(QStringLiteral("NameDict"));
        QVERIFY(data.core->store().aAddColumn(QStringLiteral("NameDict"), QStringLiteral("备注2")));
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("NameDict")), before);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from NameDict where 备注2 is null")).toInt(), before);
    }

    // --- CreateTableIFNotExists ---

    void createTableOnce()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QString create = QStringLiteral("create table Extra (Id integer primary key, Name text)");
        QVERIFY(!data.core->store().aIFExistsColumn(QStringLiteral("Extra"), QStringLiteral("Name")));
        QVERIFY(data.core->store().CreateTableIFNotExists(QStringLiteral("Extra"), create));
        QVERIFY(data.core->store().aIFExistsColumn(QStringLiteral("Extra"), QStringLiteral("Name")));
        QVERIFY(data.exec(QStringLiteral("insert into Extra (Name) values ('kept')")));
        // Present now: the statement is not run again (it would fail) and the row stays.
        QVERIFY(data.core->store().CreateTableIFNotExists(QStringLiteral("Extra"), create));
        QCOMPARE(data.scalar(QStringLiteral("select Name from Extra")).toString(), QStringLiteral("kept"));
        // An existing table of the data file is present too, whatever the statement.
        QVERIFY(data.core->store().CreateTableIFNotExists(QStringLiteral("MatchColumn"), QStringLiteral("nonsense")));
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    void createTableFails()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(!data.core->store().CreateTableIFNotExists(QStringLiteral("Broken"), QStringLiteral("create tabel")));
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("创建表格失败Broken")});
    }

    // --- template numbers and the batch-print list ---

    void newTemplateId_data()
    {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty catalogue") << QList<int>{} << 1;
        QTest::newRow("3 and 7") << QList<int>{3, 7} << 8;
        QTest::newRow("one template") << QList<int>{1} << 2;
    }
    void newTemplateId()
    {
        QFETCH(QList<int>, existing);
        QFETCH(int, expected);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("delete from CKTypeTable")));
        for (int id : existing)
            QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName) values (?, ?)"),
                              {id, QStringLiteral("T%1").arg(id)}));
        QCOMPARE(data.core->store().newTemplateId(), expected);
    }

    // The template number is the catalogue's key: given by the program, never twice.
    void templateNumberIsAKey()
    {
        test::TestData data;
        QVERIFY(data.open());
        // Start from an empty catalogue: the default templates hold the low numbers.
        QVERIFY(data.exec(QStringLiteral("delete from CKTypeTable")));
        QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName) values (5, 'a')")));
        QSqlQuery q(data.db());
        QVERIFY(!q.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName) values (5, 'b')")));
        QVERIFY(!q.exec(QStringLiteral("insert into CKTypeTable (TypeName) values ('c')")));
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("CKTypeTable")), 1);
        QCOMPARE(data.core->store().newTemplateId(), 6);
    }

    void clearReceiverListRestartsNumbers()
    {
        test::TestData data;
        QVERIFY(data.open());
        for (int i = 0; i < 3; ++i)
            QVERIFY(data.exec(QStringLiteral("insert into ReceiverList (全称) values (?)"), {QStringLiteral("r%1").arg(i)}));
        QCOMPARE(data.scalar(QStringLiteral("select max(ID) from ReceiverList")).toInt(), 3);
        QVERIFY(data.core->store().clearReceiverList());
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("ReceiverList")), 0);
        QVERIFY(data.exec(QStringLiteral("insert into ReceiverList (全称) values (?)"), {QStringLiteral("新")}));
        QCOMPARE(data.scalar(QStringLiteral("select ID from ReceiverList where 全称='新'")).toInt(), 1);
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    // Clearing restarts only the batch-print list's numbers.
    void clearReceiverListLeavesOtherCounters()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("insert into DataKDDTable (模板种类) values ('a')")));
        QVERIFY(data.exec(QStringLiteral("delete from DataKDDTable")));
        QVERIFY(data.core->store().clearReceiverList());
        QVERIFY(data.exec(QStringLiteral("insert into DataKDDTable (模板种类) values ('b')")));
        QCOMPARE(data.scalar(QStringLiteral("select 流水号 from DataKDDTable")).toInt(), 2);
    }

    // --- Jet's val() ---

    void jetVal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits then letters") << "12abc" << 12.0;
        QTest::newRow("blanks inside") << " 1 2 3" << 123.0;
        QTest::newRow("tab and line feed") << "\t4\n5" << 45.0;
        QTest::newRow("negative decimal") << "-12.5x" << -12.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("negative leading point") << "-.25" << -0.25;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "   " << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent d") << "2D2" << 200.0;
        QTest::newRow("negative exponent") << "5e-1" << 0.5;
        QTest::newRow("exponent without digits") << "7e" << 7.0;
        QTest::newRow("comma stops") << "1,234" << 1.0;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
        QTest::newRow("hexadecimal lower case") << "&hff" << 255.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal stops at 8") << "&O78" << 7.0;
        QTest::newRow("second point stops") << "12.5.6" << 12.5;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("currency text") << "12.5元" << 12.5;
        QTest::newRow("full-width digits") << "１２" << 0.0;
        QTest::newRow("currency sign first") << "￥12" << 0.0;
    }
    void jetVal()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(store::jetVal(text), value);
    }

    // --- SQL functions ---

    void sqlFunctions_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("val text") << "select val('12.5元')" << QVariant(12.5);
        QTest::newRow("val empty") << "select val('')" << QVariant(0.0);
        QTest::newRow("val number") << "select val(42)" << QVariant(42.0);
        QTest::newRow("val null") << "select val(null) is null" << QVariant(1);
        QTest::newRow("ucase") << "select ucase('abc')" << QVariant(QStringLiteral("ABC"));
        QTest::newRow("ucase null") << "select ucase(null) is null" << QVariant(1);
        QTest::newRow("lcase") << "select lcase('AbC')" << QVariant(QStringLiteral("abc"));
        QTest::newRow("len chinese") << "select len('中文')" << QVariant(2);
        QTest::newRow("len mixed") << "select len('ab中')" << QVariant(3);
        QTest::newRow("len empty") << "select len('')" << QVariant(0);
        QTest::newRow("len number") << "select len(123)" << QVariant(3);
    }
    void sqlFunctions()
    {
        QFETCH(QString, sql);
        QFETCH(QVariant, expected);
        test::TestData data;
        QVERIFY(data.open());
        QSqlQuery q(data.db());
        QVERIFY(q.exec(sql));
        QVERIFY(q.next());
        if (expected.typeId() == QMetaType::Double)
            QCOMPARE(q.value(0).toDouble(), expected.toDouble());
        else if (expected.typeId() == QMetaType::Int)
            QCOMPARE(q.value(0).toInt(), expected.toInt());
        else
            QCOMPARE(q.value(0).toString(), expected.toString());
    }

    // History totals sum val() over text amounts, empty text and NULL rows included.
    void sumOfVal()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QVariantList amounts{QStringLiteral("12.5"), QStringLiteral(""), QVariant(), QStringLiteral("3元"),
                                   QStringLiteral(" 1 0"), QStringLiteral("abc")};
        for (const QVariant &a : amounts)
            QVERIFY(data.exec(QStringLiteral("insert into DataKDDTable (总费用) values (?)"), {a}));
        QCOMPARE(data.scalar(QStringLiteral("select sum(val(总费用)) from DataKDDTable")).toDouble(), 25.5);
        QCOMPARE(data.scalar(QStringLiteral("select sum(val(总费用)) from DataKDDTable where 总费用<>''")).toDouble(),
                 25.5);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataKDDTable where val(总费用) > 10")).toInt(), 1);
    }

    // Functions are registered on every connection the core opens, not only the first.
    void functionsOnSecondCore()
    {
        test::TestData first;
        test::TestData second;
        QVERIFY(first.open());
        QVERIFY(second.open());
        QCOMPARE(second.scalar(QStringLiteral("select val('&H10')")).toDouble(), 16.0);
        QCOMPARE(first.scalar(QStringLiteral("select ucase('x')")).toString(), QStringLiteral("X"));
    }

    // A name typed wrong in double quotes is an error, never a text value.
    void doubleQuotedNameIsNeverText()
    {
        test::TestData data;
        QVERIFY(data.open());
        QSqlQuery q(data.db());
        QVERIFY(!q.exec(QStringLiteral("select count(*) from coins where \"NoSuchColumn\" = 'NoSuchColumn'")));
        QVERIFY(q.exec(QStringLiteral("select count(*) from coins where \"币种\" = '人民币'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

    // --- default-data loader ---

    void splitLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("plain") << "a\tb\tc" << QStringList{"a", "b", "c"};
        QTest::newRow("empty values") << "\t\t" << QStringList{"", "", ""};
        QTest::newRow("escaped tab") << "\\t订单编号\tx" << QStringList{"\t订单编号", "x"};
        QTest::newRow("escaped line feed") << "a\\nb" << QStringList{"a\nb"};
        QTest::newRow("escaped backslash") << "a\\\\t" << QStringList{"a\\t"};
        QTest::newRow("trailing backslash") << "a\\" << QStringList{"a\\"};
    }
    void splitLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, values);
        QCOMPARE(store::DefaultData::splitLine(line), values);
    }

    void loadFolder()
    {
        EmptySchema schema;
        QVERIFY2(schema.error().isEmpty(), qPrintable(schema.error()));
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("coins.tsv")),
                          "# comment line\r\n币种\t缩写\t顺序\r\n\r\n甲币\tJ\\tB\t5\r\n乙币\t\t0\n丙币\tC\t\n"));
        QCOMPARE(store::DefaultData::load(schema.db(), dir.path()), QString());
        QSqlQuery q(schema.db());
        QVERIFY(q.exec(QStringLiteral("select 币种, 缩写, 顺序 from coins order by 顺序 desc")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("甲币"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("J\tB"));
        QCOMPARE(q.value(2).toInt(), 5);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("乙币"));
        // Empty text stays text; an empty number is no number.
        QVERIFY(!q.value(1).isNull());
        QCOMPARE(q.value(1).toString(), QString());
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("丙币"));
        QVERIFY(q.value(2).isNull());
        QVERIFY(!q.next());
    }

    void loadFolderErrors_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("errorStart");
        QTest::newRow("unknown table") << "NoTable.tsv" << QByteArray("a\n1\n") << "NoTable.tsv: no such table";
        QTest::newRow("unknown column") << "coins.tsv" << QByteArray("币种\t汇率\n人民币\t1\n")
                                        << "coins.tsv: unknown column 汇率";
        QTest::newRow("too few values") << "coins.tsv" << QByteArray("币种\t缩写\n人民币\tCNY\n美元\n")
                                        << "coins.tsv:3: 1 values for 2 columns";
    }
    void loadFolderErrors()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, errorStart);
        EmptySchema schema;
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(fileName), content));
        const QString error = store::DefaultData::load(schema.db(), dir.path());
        QVERIFY2(error.startsWith(errorStart), qPrintable(error));
    }

    // The compiled-in files all load into an empty schema.
    void builtInDataLoads()
    {
        EmptySchema schema;
        QCOMPARE(store::DefaultData::load(schema.db()), QString());
        QSqlQuery q(schema.db());
        QVERIFY(q.exec(QStringLiteral("select count(*) from MatchColumn")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 34);
    }

    // --- the data directory ---

    void dataDirectoryPaths()
    {
        const store::DataDirectory dir(QStringLiteral("/srv/moque/../bills"));
        QCOMPARE(dir.root(), QStringLiteral("/srv/bills/"));
        QCOMPARE(dir.dataFile(), QStringLiteral("/srv/bills/Data/EPData.ini"));
        QCOMPARE(dir.packageSkeleton(), QStringLiteral("/srv/bills/Data/Template.a01"));
        QCOMPARE(dir.imageDir(), QStringLiteral("/srv/bills/Image/"));
        QCOMPARE(dir.cacheDir(), QStringLiteral("/srv/bills/Temp/CheckIni/"));
        QCOMPARE(dir.configIni(), QStringLiteral("/srv/bills/Config.ini"));
        QCOMPARE(dir.debugIni(), QStringLiteral("/srv/bills/Debug.ini"));
    }

    void resolveDataDirectory_data()
    {
        QTest::addColumn<QString>("explicitDir");
        QTest::addColumn<bool>("portableData");
        QTest::addColumn<QString>("expected"); // "exe", "home" or a path
        QTest::newRow("given on the command line") << "/tmp/given" << true << "/tmp/given/";
        QTest::newRow("portable install") << "" << true << "exe";
        QTest::newRow("blank option is not given") << "  " << true << "exe";
        QTest::newRow("per-user directory") << "" << false << "home";
    }
    void resolveDataDirectory()
    {
        QFETCH(QString, explicitDir);
        QFETCH(bool, portableData);
        QFETCH(QString, expected);
        QTemporaryDir exe;
        if (portableData)
            QVERIFY(QDir(exe.path()).mkdir(QStringLiteral("Data")));
        const store::DataDirectory dir = store::DataDirectory::resolve(explicitDir, exe.path());
        if (expected == QLatin1String("exe"))
            expected = exe.path() + QLatin1Char('/');
        else if (expected == QLatin1String("home"))
            expected = QDir::homePath() + QStringLiteral("/.local/share/moque/");
        QCOMPARE(dir.root(), expected);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
