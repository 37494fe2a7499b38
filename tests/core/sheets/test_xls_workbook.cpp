#include "sheets/XlsCompoundFile.h"
#include "sheets/XlsWorkbook.h"
#include "support/TestFiles.h"
#include "XlsFiles.h"

#include <QtTest>

#include <climits>

using moque::sheets::XlsCell;
using moque::sheets::XlsCompoundFile;
using moque::sheets::XlsWorkbook;
using Failure = XlsWorkbook::Failure;
using namespace moque::test::xls;

Q_DECLARE_METATYPE(Failure)

namespace {

QByteArray fixture(const QString &name)
{
    return moque::test::readAll(QStringLiteral(MOQUE_XLS_FIXTURES "/") + name);
}

QString failureName(Failure failure)
{
    switch (failure) {
    case Failure::None: return QStringLiteral("None");
    case Failure::NotXls: return QStringLiteral("NotXls");
    case Failure::Encrypted: return QStringLiteral("Encrypted");
    case Failure::Damaged: return QStringLiteral("Damaged");
    case Failure::TooLarge: return QStringLiteral("TooLarge");
    case Failure::NoSuchSheet: return QStringLiteral("NoSuchSheet");
    }
    return {};
}

QString cellName(int row, int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name + QString::number(row + 1);
}

// A cell as one line: where, kind, value, format id and code.
QString describe(int row, int column, const XlsCell &cell)
{
    QString value;
    switch (cell.kind) {
    case XlsCell::Kind::Number: value = QStringLiteral("Number ") + QString::number(cell.number, 'g', 15); break;
    case XlsCell::Kind::Text: value = QStringLiteral("Text ") + cell.text; break;
    case XlsCell::Kind::Boolean: value = QStringLiteral("Boolean ") + cell.text; break;
    case XlsCell::Kind::Error: value = QStringLiteral("Error ") + cell.text; break;
    }
    return QStringLiteral("%1 %2 #%3 %4").arg(cellName(row, column), value, QString::number(cell.formatId),
                                              cell.formatCode);
}

struct SheetRead
{
    bool ok = false;
    QStringList cells;  // described, in the order they came
};

SheetRead readSheet(XlsWorkbook &book, int index, int rowsBelow = INT_MAX)
{
    SheetRead read;
    read.ok = book.readSheet(index, [&](int row, int column, const XlsCell &cell) {
        if (row < rowsBelow)
            read.cells.append(describe(row, column, cell));
        return true;
    });
    return read;
}

// Everything a workbook yields, for comparing two containers of one stream.
QStringList everything(const QByteArray &file)
{
    XlsWorkbook book;
    if (!book.open(file))
        return {QStringLiteral("open failed: ") + book.detail()};
    QStringList all{book.sheetNames().join(u'|'), book.date1904() ? QStringLiteral("1904") : QStringLiteral("1900")};
    for (int i = 0; i < book.sheetNames().size(); ++i) {
        const SheetRead read = readSheet(book, i);
        all += read.ok ? read.cells : QStringList{QStringLiteral("read failed: ") + book.detail()};
    }
    return all;
}

QByteArray workbookStreamOf(const QByteArray &file)
{
    XlsCompoundFile container;
    QByteArray stream;
    if (container.open(file)) {
        container.readStream(container.hasStream(QStringLiteral("Workbook")) ? QStringLiteral("Workbook")
                                                                               : QStringLiteral("Book"),
                             &stream);
    }
    return stream;
}

QStringList headerCells(int generalId)
{
    const QStringList headers{"收件人", "地址", "邮编", "单价", "数量", "金额", "折扣", "货款",
                              "下单日期", "到货日期", "时间", "已付", "错误", "拼接", "空串"};
    QStringList cells;
    for (int column = 0; column < headers.size(); ++column)
        cells.append(QStringLiteral("%1 Text %2 #%3 General")
                         .arg(cellName(0, column), headers.at(column), QString::number(generalId)));
    return cells;
}

// The customer rows as LibreOffice Calc 7.4 wrote them (BIFF8).
QStringList libreOfficeCustomers()
{
    return headerCells(164) + QStringList{
        "A2 Text 张三 #164 General",
        "B2 Text 深圳市南山区科技园南区深南大道10000号 #164 General",
        "C2 Number 1234 #165 000000",
        "D2 Number 12.5 #164 General",
        "E2 Number 4 #164 General",
        "F2 Number 50 #164 General",
        "G2 Number 0.15 #166 0%",
        "H2 Number 1234.5 #167 [$¥-804]#,##0.00",
        "I2 Number 45322 #168 yyyy\\年m\\月d\\日",
        "J2 Number 45351 #169 yyyy\\-mm\\-dd",
        "K2 Number 0.395833333333333 #170 hh:mm",
        "L2 Boolean TRUE #171 \"TRUE\";\"TRUE\";\"FALSE\"",
        "M2 Error #DIV/0! #164 General",
        "N2 Text 张三x #164 General",
        "O2 Text  #164 General",
        "A3 Text 李四 #164 General",
        "B3 Text 北京市海淀区中关村大街1号 #164 General",
        "C3 Number 100080 #165 000000",
        "D3 Number 3.2 #164 General",
        "E3 Number 10 #164 General",
        "F3 Number 32 #164 General",
        "G3 Number 0.5 #166 0%",
        "H3 Number -88 #167 [$¥-804]#,##0.00",
        "I3 Number 36525 #168 yyyy\\年m\\月d\\日",
        "J3 Number 61 #169 yyyy\\-mm\\-dd",
        "K3 Number 0.999305555555556 #170 hh:mm",
        "L3 Boolean FALSE #171 \"TRUE\";\"TRUE\";\"FALSE\"",
        "M3 Error #N/A #164 General",
        "N3 Text 北京市海淀区中关村大街1号x #164 General",
        "O3 Boolean TRUE #172 General",
    };
}

// The same rows as Gnumeric wrote them for Excel 5.0/95 (BIFF7, GBK): its
// own format numbers, the built-in 0% (9), and no ¥ in GBK.
QStringList gnumericCustomers()
{
    return headerCells(0) + QStringList{
        "A2 Text 张三 #0 General",
        "B2 Text 深圳市南山区科技园南区深南大道10000号 #0 General",
        "C2 Number 1234 #54 000000",
        "D2 Number 12.5 #0 General",
        "E2 Number 4 #0 General",
        "F2 Number 50 #0 General",
        "G2 Number 0.15 #9 0%",
        "H2 Number 1234.5 #52 [$?]#,##0.00",
        "I2 Number 45322 #53 yyyy\"年\"m\"月\"d\"日\"",
        "J2 Number 45351 #50 yyyy-mm-dd",
        "K2 Number 0.395833333333333 #51 hh:mm",
        "L2 Boolean TRUE #0 General",
        "M2 Error #DIV/0! #0 General",
        "N2 Text 张三x #0 General",
        "O2 Text  #0 General",
        "A3 Text 李四 #0 General",
        "B3 Text 北京市海淀区中关村大街1号 #0 General",
        "C3 Number 100080 #54 000000",
        "D3 Number 3.2 #0 General",
        "E3 Number 10 #0 General",
        "F3 Number 32 #0 General",
        "G3 Number 0.5 #9 0%",
        "H3 Number -88 #52 [$?]#,##0.00",
        "I3 Number 36525 #53 yyyy\"年\"m\"月\"d\"日\"",
        "J3 Number 61 #50 yyyy-mm-dd",
        "K3 Number 0.999305555555556 #51 hh:mm",
        "L3 Boolean FALSE #0 General",
        "M3 Error #N/A #0 General",
        "N3 Text 北京市海淀区中关村大街1号x #0 General",
        "O3 Boolean TRUE #0 General",
    };
}

QStringList goods(int generalId)
{
    const QString general = QStringLiteral(" #%1 General").arg(generalId);
    return {"A1 Text 名称" + general, "B1 Text 单价" + general, "A2 Text 钢笔" + general,
            "B2 Number 12.5" + general, "A3 Text 本子" + general, "B3 Number 3" + general};
}

// A hand-made BIFF8 workbook with one worksheet, in a compound file.
QByteArray oneSheetBook(const QByteArray &globals, const QByteArray &sheet)
{
    return compoundFile(workbookStream(globals, {{QStringLiteral("表"), sheet}})).bytes;
}

QByteArray sharedStrings(const QStringList &strings)
{
    QByteArray body = le32(quint32(strings.size())) + le32(quint32(strings.size()));
    for (const QString &text : strings)
        body += biff8Text(text);
    return record(Type::Sst, body);
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes += le16(c.unicode());
    return bytes;
}

// An XF record that gives its cells the format id.
QByteArray xf(int formatId)
{
    return record(Type::Xf, le16(0) + le16(formatId) + QByteArray(16, 0));
}

QByteArray biff5Label(int row, int column, const QByteArray &bytes)
{
    return record(Type::Label, cellHeader(row, column) + le16(int(bytes.size())) + bytes);
}

QByteArray biff5CodePage(const QByteArray &text, int codePage)
{
    const QByteArray globals = codePage ? record(Type::CodePage, le16(codePage)) : QByteArray();
    return compoundFile(workbookStream(globals, {{QStringLiteral("Sheet1"), biff5Label(0, 0, text)}}, false)).bytes;
}

// Where the first record of a type starts in a workbook stream.
qsizetype recordAt(QByteArrayView stream, quint16 type)
{
    qsizetype at = 0;
    while (at + 4 <= stream.size() && qFromLittleEndian<quint16>(stream.constData() + at) != type)
        at += 4 + qFromLittleEndian<quint16>(stream.constData() + at + 2);
    return at + 4 <= stream.size() ? at : -1;
}

QByteArray flipped(QByteArray bytes, qsizetype at, char mask)
{
    bytes[at] = char(bytes.at(at) ^ mask);
    return bytes;
}

QByteArray withFat(QByteArray file, qsizetype at, quint32 value)
{
    put32(&file, at, value);
    return file;
}

} // namespace

class TestXlsWorkbook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Files written by spreadsheet programs, cell by cell against what
    // LibreOffice shows for them (README.md beside the fixtures).
    void fixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("sheets");
        QTest::addColumn<bool>("date1904");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("rowsBelow");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("count");

        const QStringList names{"客户", "货品"};
        QTest::newRow("BIFF8 customers") << "workbook.xls" << names << false << 0 << 3 << libreOfficeCustomers()
                                         << 3 * 15 + 3 + 2 * 1500;
        QTest::newRow("BIFF8 goods beside a chart and a drawing")
            << "workbook.xls" << names << false << 1 << INT_MAX << goods(164) << 6;
        QTest::newRow("BIFF5 customers") << "workbook95.xls" << names << false << 0 << 3 << gnumericCustomers()
                                         << 3 * 15 + 3 + 2 * 1500;
        QTest::newRow("BIFF5 goods") << "workbook95.xls" << names << false << 1 << INT_MAX << goods(0) << 6;
        QTest::newRow("1904 dates in a mini stream")
            << "date1904.xls" << QStringList{"日期"} << true << 0 << INT_MAX
            << QStringList{"A1 Text 日期 #164 General", "B1 Text 数量 #164 General",
                           "A2 Number 43860 #165 yyyy\\-mm\\-dd", "B2 Number 7 #164 General"}
            << 4;
    }

    void fixtures()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, sheets);
        QFETCH(bool, date1904);
        QFETCH(int, sheet);
        QFETCH(int, rowsBelow);
        QFETCH(QStringList, cells);
        QFETCH(int, count);

        XlsWorkbook book;
        QVERIFY2(book.open(fixture(file)), qPrintable(book.detail()));
        QCOMPARE(book.sheetNames(), sheets);
        QCOMPARE(book.date1904(), date1904);
        int delivered = 0;
        const SheetRead read = readSheet(book, sheet, rowsBelow);
        QVERIFY2(read.ok, qPrintable(book.detail()));
        QCOMPARE(read.cells, cells);
        QVERIFY(book.readSheet(sheet, [&](int, int, const XlsCell &) {
            ++delivered;
            return true;
        }));
        QCOMPARE(delivered, count);
    }

    // Shared strings (BIFF8) and labels (BIFF5) longer than a record, and
    // thousands of distinct ones: every character arrives.
    void longAndManyStrings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("BIFF8") << "workbook.xls";
        QTest::newRow("BIFF5") << "workbook95.xls";
    }

    void longAndManyStrings()
    {
        QFETCH(QString, file);
        QHash<QString, QString> texts;
        XlsWorkbook book;
        QVERIFY(book.open(fixture(file)));
        QVERIFY(book.readSheet(0, [&](int row, int column, const XlsCell &cell) {
            if (row >= 3)
                texts.insert(cellName(row, column), cell.text);
            return true;
        }));

        QString latin;
        for (int i = 0; i < 330; ++i)
            latin += QStringLiteral("Line %1 of a long remark. ").arg(i, 4, 10, QLatin1Char('0'));
        QString chinese;
        for (int i = 0; i < 300; ++i)
            chinese += QStringLiteral("第%1段：收件人地址深圳市南山区科技园。").arg(i);
        QCOMPARE(texts.take(QStringLiteral("A4")), latin);
        QCOMPARE(texts.take(QStringLiteral("B4")), chinese);
        // A formula's text result longer than a record.
        QCOMPARE(texts.take(QStringLiteral("C4")), QString(5000, QChar(u'长')));
        for (int i = 1; i <= 1500; ++i) {
            QCOMPARE(texts.take(cellName(3 + i, 0)), QStringLiteral("K%1").arg(i, 5, 10, QLatin1Char('0')));
            QCOMPARE(texts.take(cellName(3 + i, 1)), QStringLiteral("货品%1").arg(i));
        }
        QVERIFY(texts.isEmpty());
    }

    // One workbook stream in every container layout reads the same.
    void containers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("extraFatSectors");
        QTest::addColumn<QString>("streamName");

        QTest::newRow("version 3") << "workbook.xls" << 3 << 0 << "Workbook";
        QTest::newRow("version 4, 4096-byte sectors") << "workbook.xls" << 4 << 0 << "Workbook";
        QTest::newRow("version 3, FAT listed in DIFAT sectors") << "workbook.xls" << 3 << 300 << "Workbook";
        QTest::newRow("version 4, FAT listed in a DIFAT sector") << "workbook.xls" << 4 << 110 << "Workbook";
        QTest::newRow("version 4 mini stream") << "date1904.xls" << 4 << 0 << "Workbook";
        QTest::newRow("BIFF5 Book stream, version 4") << "workbook95.xls" << 4 << 0 << "Book";
        QTest::newRow("stream name in capitals") << "workbook.xls" << 3 << 0 << "WORKBOOK";
    }

    void containers()
    {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(int, extraFatSectors);
        QFETCH(QString, streamName);

        const QByteArray original = fixture(file);
        const Compound compound =
            compoundFile(workbookStreamOf(original), Container{version, extraFatSectors, streamName});
        QCOMPARE(compound.difatAt >= 0, extraFatSectors > 0);
        const QStringList expected = everything(original);
        QVERIFY(expected.size() > 2);
        QCOMPARE(everything(compound.bytes), expected);
    }

    // A writer may leave the unused end of the last sector out of the file.
    void lastSectorLeftShort_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("BIFF8") << "workbook.xls";
        QTest::newRow("mini stream") << "date1904.xls";
    }

    void lastSectorLeftShort()
    {
        QFETCH(QString, file);
        const QByteArray original = fixture(file);
        qsizetype unused = 0;
        while (unused < 511 && original.at(original.size() - 1 - unused) == '\0')
            ++unused;
        QVERIFY(unused > 0);
        const QStringList expected = everything(original);
        QVERIFY(expected.size() > 2);
        QCOMPARE(everything(original.left(original.size() - unused)), expected);
    }

    // Workbooks written by hand, for records and forms the spreadsheet
    // programs here do not write.
    void handMade_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QStringList>("sheets");
        QTest::addColumn<QStringList>("cells");

        const QStringList oneSheet{"表"};
        {
            // "abc"; a 16-bit string with two rich text runs and 6 bytes of
            // phonetic data that run on into the first CONTINUE; an 8-bit
            // string whose characters go on as 16-bit, then 8-bit again.
            const QByteArray sst = le32(3) + le32(3) + biff8Text(QStringLiteral("abc")) + le16(3) + char(0x0D)
                + le16(2) + le32(6) + utf16(QStringLiteral("富文本")) + le32(0x00010000);
            const QByteArray first = le32(0x00020002) + QByteArray(6, 'p') + le16(7) + char(0) + "abc";
            const QByteArray second = char(1) + utf16(QStringLiteral("中文"));
            const QByteArray third = char(0) + QByteArray("de");
            const QByteArray globals = record(Type::Sst, sst) + record(Type::Continue, first)
                + record(Type::Continue, second) + record(Type::Continue, third)
                + record(Type::ExtSst, le16(8) + QByteArray(8, 0));
            QTest::newRow("shared strings over CONTINUE records")
                << oneSheetBook(globals, labelSst(0, 0, 0) + labelSst(0, 1, 1) + labelSst(0, 2, 2)) << 0 << oneSheet
                << QStringList{"A1 Text abc #0 General", "B1 Text 富文本 #0 General", "C1 Text abc中文de #0 General"};
        }
        const QByteArray hugeCount = record(Type::Sst, le32(~0u) + le32(~0u) + biff8Text(QStringLiteral("唯一")));
        QTest::newRow("shared string count far above the strings there")
            << oneSheetBook(hugeCount, labelSst(0, 0, 0)) << 0 << oneSheet << QStringList{"A1 Text 唯一 #0 General"};
        QTest::newRow("formula results")
            << oneSheetBook({}, formula(0, 0, specialResult(0)) + record(Type::SharedFormula, QByteArray(10, 0))
                                + record(Type::String, le16(5) + char(0) + "ab")
                                + record(Type::Continue, char(1) + utf16(QStringLiteral("中文x")))
                                + formula(0, 1, specialResult(1, 0)) + formula(0, 2, specialResult(2, 0x17))
                                + formula(0, 3, specialResult(3)) + formula(0, 4, f64(2.5))
                                + formula(0, 5, specialResult(0)) + number(0, 6, 7)
                                + record(Type::String, biff8Text(QStringLiteral("stray"))))
            << 0 << oneSheet
            << QStringList{"A1 Text ab中文x #0 General", "B1 Boolean FALSE #0 General", "C1 Error #REF! #0 General",
                           "D1 Text  #0 General", "E1 Number 2.5 #0 General", "G1 Number 7 #0 General"};
        const auto rk = [](int column, quint32 value) { return record(Type::Rk, cellHeader(0, column) + le32(value)); };
        QTest::newRow("numbers, booleans and errors")
            << oneSheetBook({}, rk(0, 123 << 2 | 2) + rk(1, quint32(-5 * 4) | 2) + rk(2, 12345 << 2 | 3)
                                + rk(3, 0x3FF80000) + rk(4, 0x3FF80000 | 1)
                                + record(Type::MulRk, le16(1) + le16(2) + le16(0) + le32(1 << 2 | 2) + le16(0)
                                                     + le32(2 << 2 | 2) + le16(0) + le32(3 << 2 | 2) + le16(4))
                                + number(2, 0, 0.1) + record(Type::BoolErr, cellHeader(2, 1) + char(1) + char(0))
                                + record(Type::BoolErr, cellHeader(2, 2) + char(0x24) + char(1))
                                + record(Type::BoolErr, cellHeader(2, 3) + char(0x63) + char(1))
                                + record(Type::Blank, cellHeader(2, 4))
                                + record(Type::MulBlank, le16(2) + le16(5) + le16(0) + le16(0) + le16(6)))
            << 0 << oneSheet
            << QStringList{"A1 Number 123 #0 General",   "B1 Number -5 #0 General",   "C1 Number 123.45 #0 General",
                           "D1 Number 1.5 #0 General",   "E1 Number 0.015 #0 General", "C2 Number 1 #0 General",
                           "D2 Number 2 #0 General",     "E2 Number 3 #0 General",    "A3 Number 0.1 #0 General",
                           "B3 Boolean TRUE #0 General", "C3 Error #NUM! #0 General", "D3 Error #N/A #0 General"};
        QTest::newRow("cells past the declared dimensions")
            << oneSheetBook({}, record(Type::Dimensions, le32(0) + le32(1) + le16(0) + le16(1) + le16(0))
                                    + number(0, 0, 1) + number(60000, 200, 2))
            << 0 << oneSheet << QStringList{"A1 Number 1 #0 General", "GS60001 Number 2 #0 General"};
        QTest::newRow("embedded chart and drawing skipped")
            << oneSheetBook({}, number(0, 0, 1) + record(Type::Bof, le16(0x0600) + le16(0x0020) + QByteArray(12, 0))
                                    + number(5, 5, 99) + record(Type::Eof, {})
                                    + record(Type::MsoDrawing, QByteArray(20, 'd'))
                                    + record(Type::Continue, number(3, 3, 5)) + number(1, 0, 2))
            << 0 << oneSheet << QStringList{"A1 Number 1 #0 General", "A2 Number 2 #0 General"};
        QTest::newRow("worksheets only, hidden ones too")
            << compoundFile(workbookStream({}, {{QStringLiteral("数据"), number(0, 0, 1)},
                                                {QStringLiteral("图表"), number(0, 0, 9), 2},
                                                {QStringLiteral("宏"), {}, 1},
                                                {QStringLiteral("隐藏"), number(0, 0, 2), 0, 1}}))
                   .bytes
            << 1 << QStringList{"数据", "隐藏"} << QStringList{"A1 Number 2 #0 General"};
        QTest::newRow("built-in and own formats")
            << oneSheetBook(record(Type::Format, le16(164) + biff8Text(QStringLiteral("0.000"))) + xf(0) + xf(14)
                                + xf(31) + xf(164) + xf(200),
                        number(0, 0, 45322, 1) + number(0, 1, 45322, 2) + number(0, 2, 1.5, 3)
                            + number(0, 3, 1, 4) + number(0, 4, 1, 9))
            << 0 << oneSheet
            << QStringList{"A1 Number 45322 #14 yyyy/m/d", "B1 Number 45322 #31 yyyy\"年\"m\"月\"d\"日\"",
                           "C1 Number 1.5 #164 0.000", "D1 Number 1 #200 General", "E1 Number 1 #0 General"};
        QTest::newRow("BIFF8 labels over CONTINUE and rich strings")
            << oneSheetBook({}, record(Type::Label, cellHeader(0, 0) + le16(4) + char(0) + "ab")
                                + record(Type::Continue, char(1) + utf16(QStringLiteral("中文")))
                                + record(Type::RString, cellHeader(0, 1) + biff8Text(QStringLiteral("富")) + le16(1)
                                                     + le32(0)))
            << 0 << oneSheet << QStringList{"A1 Text ab中文 #0 General", "B1 Text 富 #0 General"};
        // A double-byte character split between LABEL and CONTINUE; a rich
        // string with its runs; a formula's 8-bit STRING.
        const QByteArray gbk("\xca\xd5\xbc\xfe\xc8\xcb");
        QTest::newRow("BIFF5 labels over CONTINUE, rich strings and formula text")
            << compoundFile(workbookStream(record(Type::CodePage, le16(936)),
                                           {{QStringLiteral("Sheet1"),
                                             record(Type::Label, cellHeader(0, 0) + le16(6) + gbk.left(3))
                                                 + record(Type::Continue, gbk.mid(3))
                                                 + record(Type::RString, cellHeader(0, 1) + le16(2) + "ab" + char(1)
                                                                      + le16(0))
                                                 + formula(0, 2, specialResult(0))
                                                 + record(Type::String, le16(3) + "xyz")}},
                                           false))
                   .bytes
            << 0 << QStringList{"Sheet1"}
            << QStringList{"A1 Text 收件人 #0 General", "B1 Text ab #0 General", "C1 Text xyz #0 General"};
        const QStringList sheet1{"Sheet1"};
        QTest::newRow("BIFF5 Mac Roman") << biff5CodePage("caf\x8e", 10000) << 0 << sheet1
                                         << QStringList{"A1 Text café #0 General"};
        QTest::newRow("BIFF5 Mac Chinese Simplified")
            << biff5CodePage(gbk, 10008) << 0 << sheet1 << QStringList{"A1 Text 收件人 #0 General"};
        QTest::newRow("BIFF5 Windows Latin 1") << biff5CodePage("caf\xe9", 1252) << 0 << sheet1
                                               << QStringList{"A1 Text café #0 General"};
        QTest::newRow("BIFF5 GBK") << biff5CodePage(gbk, 936) << 0 << sheet1
                                   << QStringList{"A1 Text 收件人 #0 General"};
        QTest::newRow("BIFF5 without a code page")
            << biff5CodePage(gbk, 0) << 0 << sheet1 << QStringList{"A1 Text 收件人 #0 General"};
    }

    void handMade()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, sheet);
        QFETCH(QStringList, sheets);
        QFETCH(QStringList, cells);

        XlsWorkbook book;
        QVERIFY2(book.open(file), qPrintable(book.detail()));
        QCOMPARE(book.sheetNames(), sheets);
        const SheetRead read = readSheet(book, sheet);
        QVERIFY2(read.ok, qPrintable(book.detail()));
        QCOMPARE(read.cells, cells);
    }

    // Damaged, cut, hostile and encrypted files fail with their reason,
    // without a crash or a hang; cells read before damage in a sheet are
    // handed over.
    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Failure>("openFailure");
        QTest::addColumn<Failure>("readFailure");
        QTest::addColumn<int>("cellsBefore");
        QTest::addColumn<QString>("detail");

        const QByteArray workbook = fixture(QStringLiteral("workbook.xls"));
        QTest::newRow("empty") << QByteArray() << Failure::NotXls << Failure::None << 0 << "signature";
        QTest::newRow("a zip file") << QByteArray("PK\x03\x04\x14\0\0\0\x08\0", 10) << Failure::NotXls
                                    << Failure::None << 0 << "signature";
        QTest::newRow("cut to 7 bytes") << workbook.left(7) << Failure::NotXls << Failure::None << 0 << "signature";
        QTest::newRow("cut inside the header") << workbook.left(100) << Failure::Damaged << Failure::None << 0
                                               << "header";
        QTest::newRow("cut after 4 KiB") << workbook.left(4096) << Failure::Damaged << Failure::None << 0
                                         << "FAT sector lies outside";
        QTest::newRow("cut in half") << workbook.left(workbook.size() / 2) << Failure::Damaged << Failure::None << 0
                                     << "leaves the file";
        QTest::newRow("last sector cut off") << workbook.left(workbook.size() - 512) << Failure::Damaged
                                             << Failure::None << 0 << "leaves the file";
        QTest::newRow("encrypted Office package")
            << compoundFile(QByteArray(5000, '\x5A'), Container{3, 0, QStringLiteral("EncryptedPackage")}).bytes
            << Failure::Encrypted << Failure::None << 0 << "encrypted";
        QTest::newRow("encrypted by LibreOffice")
            << fixture(QStringLiteral("encrypted.xls")) << Failure::Encrypted << Failure::None << 0 << "encrypted";

        const qsizetype streamName = workbook.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
        QTest::newRow("flipped bit in the stream's name") << flipped(workbook, streamName, 0x01) << Failure::NotXls
                                                          << Failure::None << 0 << "no Workbook";

        const QByteArray stream = workbookStreamOf(workbook);
        // The high byte of the first worksheet's offset in its BOUNDSHEET.
        QTest::newRow("flipped bit in a sheet's offset")
            << compoundFile(flipped(stream, recordAt(stream, Type::BoundSheet) + 4 + 3, 0x10)).bytes
            << Failure::None << Failure::Damaged << 0 << "does not start with BOF";
        const Compound plain = compoundFile(stream);
        QTest::newRow("sector chain pointing to itself")
            << withFat(plain.bytes, plain.fatAt + 4, 1) << Failure::Damaged << Failure::None << 0 << "loops";
        QTest::newRow("sector id outside the file") << withFat(plain.bytes, plain.fatAt + 4, 0x00FFFFFF)
                                                    << Failure::Damaged << Failure::None << 0 << "leaves the file";
        QTest::newRow("sector chain ending early") << withFat(plain.bytes, plain.fatAt + 4, endOfChain)
                                                   << Failure::Damaged << Failure::None << 0 << "ends early";
        QTest::newRow("stream size past the file")
            << withFat(plain.bytes, plain.entryAt + 120, quint32(plain.bytes.size() * 2)) << Failure::Damaged
            << Failure::None << 0 << "longer than the file";
        const quint32 firstFatSector = qFromLittleEndian<quint32>(plain.bytes.constData() + 76);
        QTest::newRow("FAT sector listed twice") << withFat(plain.bytes, 80, firstFatSector) << Failure::Damaged
                                                 << Failure::None << 0 << "twice";
        QTest::newRow("directory chain pointing to itself")
            << withFat(plain.bytes, plain.fatAt + 4 * plain.directorySector, plain.directorySector)
            << Failure::Damaged << Failure::None << 0 << "loops";
        QTest::newRow("more FAT sectors than the file holds")
            << withFat(plain.bytes, 44, 0x7FFFFFFF) << Failure::Damaged << Failure::None << 0 << "more FAT";
        const Compound indexed = compoundFile(stream, Container{3, 300});
        QTest::newRow("DIFAT sector pointing to itself")
            << withFat(indexed.bytes, indexed.difatAt + indexed.sectorSize - 4,
                       quint32(indexed.difatAt / indexed.sectorSize - 1))
            << Failure::Damaged << Failure::None << 0 << "index loops";
        QByteArray bigSectors = plain.bytes;
        bigSectors[30] = 12;
        QTest::newRow("version 3 with 4096-byte sectors") << bigSectors << Failure::Damaged << Failure::None << 0
                                                          << "sector size";
        QTest::newRow("no workbook stream") << compoundFile(stream, Container{3, 0, QStringLiteral("Contents")}).bytes
                                            << Failure::NotXls << Failure::None << 0 << "no Workbook";

        const QByteArray cutString = record(Type::Sst, le32(1) + le32(1) + le16(50) + char(0) + "abc");
        QTest::newRow("shared string cut short, no CONTINUE")
            << oneSheetBook(cutString, labelSst(0, 0, 0)) << Failure::Damaged << Failure::None << 0 << "SST";
        QTest::newRow("cell pointing past the shared strings")
            << oneSheetBook(sharedStrings({QStringLiteral("a")}), labelSst(0, 0, 0) + labelSst(0, 1, 5))
            << Failure::None << Failure::Damaged << 1 << "shared string 5 of 1";
        QTest::newRow("record running past the stream")
            << compoundFile(workbookStream(le16(0x1234) + le16(100) + "xx", {})).bytes << Failure::Damaged
            << Failure::None << 0 << "runs past";
        const QByteArray bof8 = record(Type::Bof, le16(0x0600) + le16(5) + QByteArray(12, 0));
        QTest::newRow("globals without EOF") << compoundFile(bof8 + record(Type::CodePage, le16(1200))).bytes
                                             << Failure::Damaged << Failure::None << 0 << "no EOF";
        QTest::newRow("stream not starting with BOF") << compoundFile(record(Type::CodePage, le16(1200)) + bof8).bytes
                                                      << Failure::Damaged << Failure::None << 0 << "BOF";
        QTest::newRow("Excel 4 workbook")
            << compoundFile(record(Type::Bof, le16(0x0400) + le16(5) + QByteArray(4, 0)) + record(Type::Eof, {})).bytes
            << Failure::NotXls << Failure::None << 0 << "BIFF version";
        QTest::newRow("BOUNDSHEET cut short") << oneSheetBook(record(Type::BoundSheet, le32(0)), {}) << Failure::Damaged
                                              << Failure::None << 0 << "BOUNDSHEET";
        const QByteArray cells = number(0, 0, 1) + number(0, 1, 2);
        QByteArray sheetPast = workbookStream({}, {{QStringLiteral("表"), cells}});
        sheetPast.chop(20 + cells.size() + 4);
        QTest::newRow("sheet starting past the stream") << compoundFile(sheetPast).bytes << Failure::None
                                                        << Failure::Damaged << 0 << "does not start with BOF";
        QByteArray noEof = workbookStream({}, {{QStringLiteral("表"), cells}});
        noEof.chop(4);
        QTest::newRow("sheet without EOF") << compoundFile(noEof).bytes << Failure::None << Failure::Damaged << 2
                                           << "no EOF";
        // BOF (20 bytes), then BOUNDSHEET records of 13 bytes with the offset after their header.
        QByteArray twice = workbookStream({}, {{QStringLiteral("a"), cells}, {QStringLiteral("b"), cells}});
        put32(&twice, 20 + 13 + 4, qFromLittleEndian<quint32>(twice.constData() + 20 + 4));
        QTest::newRow("two sheets at one place") << compoundFile(twice).bytes << Failure::Damaged << Failure::None
                                                 << 0 << "same place";
        QTest::newRow("NUMBER cut short")
            << oneSheetBook({}, number(0, 0, 1) + record(Type::Number, cellHeader(0, 1) + "\1\2")) << Failure::None
            << Failure::Damaged << 1 << "cut short";
        QTest::newRow("MULRK cut short") << oneSheetBook({}, record(Type::MulRk, le16(0) + le16(0)))
                                         << Failure::None << Failure::Damaged << 0 << "cut short";
        QTest::newRow("formula text cut short")
            << oneSheetBook({}, formula(0, 0, specialResult(0)) + record(Type::String, le16(10) + char(0) + "ab"))
            << Failure::None << Failure::Damaged << 0 << "STRING";
    }

    void brokenFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(Failure, openFailure);
        QFETCH(Failure, readFailure);
        QFETCH(int, cellsBefore);
        QFETCH(QString, detail);

        XlsWorkbook book;
        const bool opened = book.open(file);
        QCOMPARE(failureName(book.failure()), failureName(openFailure));
        QCOMPARE(opened, openFailure == Failure::None);
        if (opened) {
            const SheetRead read = readSheet(book, 0);
            QVERIFY(!read.ok);
            QCOMPARE(failureName(book.failure()), failureName(readFailure));
            QCOMPARE(read.cells.size(), cellsBefore);
        }
        QVERIFY2(book.detail().contains(detail), qPrintable(book.detail()));
    }

    void stopsWhenTold()
    {
        XlsWorkbook book;
        QVERIFY(book.open(fixture(QStringLiteral("workbook.xls"))));
        int calls = 0;
        QVERIFY(!book.readSheet(0, [&](int, int, const XlsCell &) { return ++calls < 2; }));
        QCOMPARE(calls, 2);
        QCOMPARE(failureName(book.failure()), failureName(Failure::None));
        QVERIFY(!book.readSheet(2, [](int, int, const XlsCell &) { return true; }));
        QCOMPARE(failureName(book.failure()), failureName(Failure::NoSuchSheet));
    }

    // The stream alone, or the stream and its shared strings, can pass the limit.
    void memoryLimit_data()
    {
        QTest::addColumn<qint64>("maxMemory");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("stream over the limit") << qint64(100'000) << Failure::TooLarge;
        QTest::newRow("shared strings over the limit") << qint64(200'000) << Failure::TooLarge;
        QTest::newRow("within the limit") << qint64(400'000) << Failure::None;
    }

    void memoryLimit()
    {
        QFETCH(qint64, maxMemory);
        QFETCH(Failure, failure);
        XlsWorkbook book(maxMemory);
        QCOMPARE(book.open(fixture(QStringLiteral("workbook.xls"))), failure == Failure::None);
        QCOMPARE(failureName(book.failure()), failureName(failure));
    }
};

QTEST_GUILESS_MAIN(TestXlsWorkbook)
#include "test_xls_workbook.moc"
