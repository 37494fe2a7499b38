// The background pictures of the templates: a new data directory has one per
// template at the template's screen size, drawn from its items (every shown
// item's box sits at its screen place); pictures are drawn only when the data
// file is created, and an existing picture is never overwritten.

#include "support/TestData.h"
#include "templates/TemplatePicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace moque;

namespace {

struct Picture
{
    int id;
    QString file;
    QSize size;
};

QList<Picture> picturesOf(QSqlDatabase db)
{
    QList<Picture> list;
    QSqlQuery q(db);
    q.exec(QStringLiteral("select CheckTypeID,ImgFile,TWidth,THeight from CKTypeTable order by CheckTypeID"));
    while (q.next())
        list << Picture{q.value(0).toInt(), q.value(1).toString(), QSize(q.value(2).toInt(), q.value(3).toInt())};
    return list;
}

templates::TemplateRow rowOf(QSqlDatabase db, int id)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select * from CKTypeTable where CheckTypeID=:id"));
    q.bindValue(QStringLiteral(":id"), id);
    templates::TemplateRow row;
    if (!q.exec() || !q.next())
        return row;
    row.id = id;
    row.fullName = q.value("TypeName").toString();
    row.kind = q.value("TypeFirstName").toString();
    row.displayName = q.value("TypeDescribe").toString();
    row.screenWidth = q.value("TWidth").toInt();
    row.screenHeight = q.value("THeight").toInt();
    row.paperWidth = q.value("PWidth").toInt();
    row.paperHeight = q.value("PHeight").toInt();
    row.checkBoxes = q.value("CheckBoxs").toString();
    return row;
}

QList<templates::PrintItem> itemsOf(QSqlDatabase db, int id)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select * from ckControl where CheckTypeID=:id"));
    q.bindValue(QStringLiteral(":id"), id);
    QList<templates::PrintItem> items;
    if (!q.exec())
        return items;
    while (q.next()) {
        templates::PrintItem item;
        item.name = q.value("CtlName").toString();
        item.caption = q.value("CtlCName").toString();
        item.type = q.value("CtlType").toString();
        item.screenX = q.value("SrcX").toInt();
        item.screenY = q.value("SrcY").toInt();
        item.screenW = q.value("SrcW").toInt();
        item.screenH = q.value("SrcH").toInt();
        item.needShow = q.value("NeedShow").toInt();
        item.fitParam = q.value("FitParam").toString();
        items << item;
    }
    return items;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Lines of the form are printed ink; the paper around them is light.
bool isInk(QRgb c)
{
    return qGray(c) < 200;
}

} // namespace

class TestDefaultTemplatesPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newDataDirectoryHasEveryPicture()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QList<Picture> pictures = picturesOf(data.db());
        QVERIFY(pictures.size() >= 5);
        for (const Picture &p : pictures) {
            const QString path = data.root() + QStringLiteral("Image/") + p.file;
            QImage image;
            QVERIFY2(image.load(path), qPrintable(path));
            QCOMPARE(image.size(), p.size);
        }
    }

    void pictureShowsTheShownItemsAtTheirPlaces_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("general waybill") << 1;
        QTest::newRow("standard waybill") << 2;
        QTest::newRow("receipt") << 3;
        QTest::newRow("freight invoice") << 4;
        QTest::newRow("export invoice") << 5;
    }
    void pictureShowsTheShownItemsAtTheirPlaces()
    {
        QFETCH(int, id);
        test::TestData data;
        QVERIFY(data.open());
        const templates::TemplateRow row = rowOf(data.db(), id);
        QList<templates::PrintItem> items = itemsOf(data.db(), id);
        QVERIFY(!items.isEmpty());
        // One item hidden: its place stays bare paper.
        auto hidden = std::find_if(items.begin(), items.end(), [](const templates::PrintItem &i) {
            return i.type == QStringLiteral("TEXT") && i.fitParam.isEmpty();
        });
        QVERIFY(hidden != items.end());
        hidden->needShow = 0;

        const QImage image = templates::drawFormPicture(row, items);
        QCOMPARE(image.size(), QSize(row.screenWidth, row.screenHeight));
        for (const templates::PrintItem &item : std::as_const(items)) {
            if (item.type != QStringLiteral("TEXT"))
                continue;
            const int midY = item.screenY + item.screenH / 2;
            const QRgb border = image.pixel(item.screenX, midY);
            const QRgb inside = image.pixel(item.screenX + 3, item.screenY + item.screenH * 3 / 4);
            if (item.needShow == 1) {
                QVERIFY2(isInk(border), qPrintable(item.name));
                QVERIFY2(!isInk(inside), qPrintable(item.name));
            } else {
                QVERIFY2(!isInk(border), qPrintable(item.name));
                QVERIFY2(!isInk(image.pixel(item.screenX + item.screenW / 2, item.screenY)), qPrintable(item.name));
            }
        }
    }

    void existingPictureIsNeverOverwritten()
    {
        test::TestData data;
        QVERIFY(QDir().mkpath(data.root() + QStringLiteral("Image")));
        const QString own = data.root() + QStringLiteral("Image/kdd1.jpg");
        const QByteArray bytes("the user's own scan of the form");
        QVERIFY(writeFile(own, bytes));
        QVERIFY(data.open());
        QCOMPARE(readAll(own), bytes);
        QVERIFY(QFileInfo::exists(data.root() + QStringLiteral("Image/kdd2.jpg")));

        // Drawing the missing pictures again leaves it as it is, too.
        templates::writeMissingPictures(data.db(), data.root() + QStringLiteral("Image/"));
        QCOMPARE(readAll(own), bytes);
    }

    // A start killed while drawing the pictures leaves them missing or cut short: the
    // next start draws them again, and leaves whole ones alone.
    void missingOrCutShortPicturesAreDrawnAgainOnStart_data()
    {
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<bool>("removed");
        QTest::newRow("missing") << QByteArray() << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("cut short") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01", 16) << false;
    }
    void missingOrCutShortPicturesAreDrawnAgainOnStart()
    {
        QFETCH(QByteArray, left);
        QFETCH(bool, removed);
        test::TestData data;
        QVERIFY(data.open());
        const QString picture = data.root() + QStringLiteral("Image/fpiv3.jpg");
        const QString splash = data.root() + QStringLiteral("Image/Sys_boot.jpg");
        const QString other = data.root() + QStringLiteral("Image/kdd1.jpg");
        const QByteArray otherBytes = readAll(other);
        for (const QString &path : {picture, splash}) {
            if (removed)
                QVERIFY(QFile::remove(path));
            else
                QVERIFY(writeFile(path, left));
        }
        data.core.reset();

        data.core = std::make_unique<app::AppCore>(store::DataDirectory(data.tempDir.path()), data.dialogs);
        QVERIFY(data.core->open());
        QVERIFY(!data.core->createdDataFile());
        QImage drawn;
        QVERIFY(drawn.load(splash));
        const QList<Picture> pictures = picturesOf(data.db());
        const auto receipt = std::find_if(pictures.cbegin(), pictures.cend(),
                                          [](const Picture &p) { return p.file == QStringLiteral("fpiv3.jpg"); });
        QVERIFY(receipt != pictures.cend());
        QImage image;
        QVERIFY(image.load(picture));
        QCOMPARE(image.size(), receipt->size);
        QCOMPARE(readAll(other), otherBytes);
    }

    void writesMissingPicturesAtTheTemplateSize()
    {
        test::TestData data;
        QVERIFY(data.open());
        // A template whose picture is missing is drawn at its own size.
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set TWidth=?, THeight=?, ImgFile=? where CheckTypeID=1"),
                          {400, 221, QStringLiteral("kdd-small.jpg")}));
        const QString dir = data.root() + QStringLiteral("Image/");
        templates::writeMissingPictures(data.db(), dir);
        QImage image;
        QVERIFY(image.load(dir + QStringLiteral("kdd-small.jpg")));
        QCOMPARE(image.size(), QSize(400, 221));
        // A picture name with folders stays inside the image folder.
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set ImgFile=? where CheckTypeID=2"),
                          {QStringLiteral("../outside.jpg")}));
        templates::writeMissingPictures(data.db(), dir);
        QVERIFY(!QFileInfo::exists(data.root() + QStringLiteral("outside.jpg")));
        QVERIFY(QFileInfo::exists(dir + QStringLiteral("outside.jpg")));
    }
};

QTEST_MAIN(TestDefaultTemplatesPictures)
#include "test_default_templates_pictures.moc"
