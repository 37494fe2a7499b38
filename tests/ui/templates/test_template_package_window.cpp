// The package window driven as a user does: choosing a package, moving its
// templates, importing them, and exporting templates into a new package.

#include "designers/ImageViewer.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "templates/TemplatePackage.h"
#include "templates/TemplatePackageWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace moque;
using test::child;
using test::click;

namespace {

const QString waybill = QStringLiteral("快递单（通用快递单）");
const QString waybill2 = QStringLiteral("快递单（标准快递单）");

QStringList entries(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void doubleClick(QListWidget *list, int row)
{
    // The view takes a double-click only on the row the press was on.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestTemplatePackageWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<test::TestData> m_data;
    std::unique_ptr<ui::TemplatePackageWindow> m_window;
    QTemporaryDir m_files;

    QString package() const { return m_files.filePath(QStringLiteral("快递单.tpk")); }
    QListWidget *list(const char *name) const { return child<QListWidget>(m_window.get(), name); }
    bool enabled(const char *button) const { return child<QPushButton>(m_window.get(), button)->isEnabled(); }
    int templates() const { return m_data->scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt(); }

    // Chooses the package through 浏览.. with the file dialog's answer.
    void choose(const QString &file)
    {
        m_data->dialogs.files.enqueue(file);
        click(m_window.get(), "btnImpBrowse");
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_files.isValid());
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        templates::PackageExporter exporter(m_data->db(), m_data->dialogs, m_data->core->dir(), QStringLiteral("9.8"));
        QCOMPARE(exporter.exportTemplates({waybill, waybill2}, package()).done, 2);
        m_window = std::make_unique<ui::TemplatePackageWindow>(*m_data->core, false);
        m_window->show();
        m_data->dialogs.clear();
    }
    void cleanup()
    {
        m_window.reset();
        m_data.reset();
    }

    void opensWithBothPages()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("frmBillImportExport"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("导入、导出票据格式"));
        QCOMPARE(child<QLineEdit>(m_window.get(), "edtImportBillsFile")->text(), QStringLiteral("请选择票据包文件"));
        QVERIFY(child<QCheckBox>(m_window.get(), "ckUpdateBill")->isChecked());
        QVERIFY(!child<QCheckBox>(m_window.get(), "ckNewBill")->isChecked());
        QCOMPARE(m_window->findChild<QTabWidget *>()->count(), 2);
        QCOMPARE(list("listExpExists")->count(), templates());
        QVERIFY(!enabled("btnImport"));
        QVERIFY(!enabled("btnExport"));

        ui::TemplatePackageWindow importOnly(*m_data->core, true);
        QCOMPARE(importOnly.findChild<QTabWidget *>()->count(), 1);
        QVERIFY(!importOnly.findChild<QListWidget *>(QStringLiteral("listExpExists")));
    }

    // Choosing a package lists its templates and moves the first one to the import list.
    void choosingAPackage_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("importEnabled");
        QTest::newRow("a package") << "package" << "" << QStringList{waybill2} << QStringList{waybill} << true;
        QTest::newRow("cancelled") << "" << "" << QStringList{} << QStringList{} << false;
        QTest::newRow("not a package name") << "/tmp/orders.xlsx"
                                            << "请选择标准的墨雀票据包，例如：中国银行进账单.tpk" << QStringList{}
                                            << QStringList{} << false;
        QTest::newRow("damaged") << "damaged" << "票据包无法读取：" << QStringList{} << QStringList{} << false;
        QTest::newRow("empty") << "empty" << "抱歉,墨雀从包里找不到可用于导入的票据！" << QStringList{} << QStringList{}
                               << false;
    }
    void choosingAPackage()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(QStringList, from);
        QFETCH(QStringList, selected);
        QFETCH(bool, importEnabled);
        if (file == QLatin1String("damaged")) {
            file = m_files.filePath(QStringLiteral("坏.tpk"));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (file == QLatin1String("empty")) {
            file = m_files.filePath(QStringLiteral("空.tpk"));
            QVERIFY(QFile::copy(package(), file));
            QVERIFY(test::execOnFile(file, {QStringLiteral("delete from _CKTypeTable")}));
        } else if (file == QLatin1String("package")) {
            file = package();
        }
        choose(file);
        QCOMPARE(entries(list("lstImpFrom")), from);
        QCOMPARE(entries(list("lstImpSel")), selected);
        QCOMPARE(enabled("btnImport"), importEnabled);
        QCOMPARE(enabled("btnImpAdd"), importEnabled);
        const QStringList shown = m_data->dialogs.texts();
        if (message.isEmpty())
            QCOMPARE(shown.size(), 1); // the file dialog alone
        else
            QVERIFY2(shown.last().startsWith(message), qPrintable(shown.last()));
        if (file == QLatin1String("/tmp/orders.xlsx"))
            QCOMPARE(child<QLineEdit>(m_window.get(), "edtImportBillsFile")->text(), QString());
    }

    // -> moves the selected entry, ->> all of them, X empties the import list and lists the package again.
    void movingEntries()
    {
        choose(package());
        click(m_window.get(), "btnImpClear");
        QCOMPARE(entries(list("lstImpSel")), QStringList());
        QCOMPARE(entries(list("lstImpFrom")), (QStringList{waybill, waybill2}));
        QVERIFY(!enabled("btnImport"));
        list("lstImpFrom")->setCurrentRow(1);
        click(m_window.get(), "btnImpAdd");
        QCOMPARE(entries(list("lstImpSel")), QStringList{waybill2});
        QVERIFY(enabled("btnImport"));
        click(m_window.get(), "btnImpAddAll");
        QCOMPARE(entries(list("lstImpSel")), (QStringList{waybill2, waybill}));
        QCOMPARE(entries(list("lstImpFrom")), QStringList());
    }

    // 3.开始导入 imports the listed templates, replacing or keeping the older ones.
    void importing_data()
    {
        QTest::addColumn<bool>("update");
        QTest::addColumn<int>("added");
        QTest::newRow("更新旧版本单据") << true << 0;
        QTest::newRow("保留旧版本") << false << 2;
    }
    void importing()
    {
        QFETCH(bool, update);
        QFETCH(int, added);
        const int before = templates();
        QSignalSpy imported(m_window.get(), &ui::TemplatePackageWindow::templatesImported);
        choose(package());
        click(m_window.get(), "btnImpAddAll");
        child<QCheckBox>(m_window.get(), "ckUpdateBill")->click();
        if (update)
            child<QCheckBox>(m_window.get(), "ckUpdateBill")->click();
        QCOMPARE(child<QCheckBox>(m_window.get(), "ckNewBill")->isChecked(), !update);
        click(m_window.get(), "btnImport");
        QCOMPARE(child<QLabel>(m_window.get(), "lblImpProgress")->text(), QStringLiteral("2/2"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("导入结束，成功导入单据2个!"));
        QCOMPARE(templates(), before + added);
        QCOMPARE(imported.count(), 1);
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKTypeTable where TypeName=?"),
                                {QStringLiteral("快递单（通用快递单.新）")})
                     .toInt(),
                 update ? 0 : 1);
        // The export page lists the new templates too.
        QCOMPARE(list("listExpExists")->count(), templates());
    }

    // Exporting: the proposed name, the package written, the summary.
    void exporting()
    {
        list("listExpExists")->setCurrentRow(list("listExpExists")->count() - 1);
        const QString last = list("listExpExists")->currentItem()->text();
        click(m_window.get(), "btnExpAdd");
        QCOMPARE(entries(list("ListExpSel")), QStringList{last});
        click(m_window.get(), "btnExpAddAll");
        QCOMPARE(list("listExpExists")->count(), 0);
        const QString target = m_files.filePath(QStringLiteral("全部.tpk"));
        m_data->dialogs.files.enqueue(target);
        click(m_window.get(), "btnExpBrowse");
        QString proposed = last;
        proposed.replace(QStringLiteral("（"), QStringLiteral("-")).remove(QStringLiteral("）"));
        QCOMPARE(m_data->dialogs.shown.last().text,
                 proposed + QStringLiteral("等%1个模板.tpk|墨雀票据包(*.tpk)").arg(templates()));
        QCOMPARE(child<QLineEdit>(m_window.get(), "edtExportFolder")->text(), target);
        QVERIFY(enabled("btnExport"));
        click(m_window.get(), "btnExport");
        QCOMPARE(child<QLabel>(m_window.get(), "lblExpProgress")->text(), QStringLiteral("%1/%1").arg(templates()));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("导出完成,成功导出%1个单据！").arg(templates()));
        templates::PackageReader written;
        QVERIFY2(written.open(target), qPrintable(written.errorText()));
        QCOMPARE(written.fullNames(), entries(list("ListExpSel")));

        click(m_window.get(), "btnExpClear");
        QCOMPARE(list("ListExpSel")->count(), 0);
        QCOMPARE(list("listExpExists")->count(), templates());
        QVERIFY(!enabled("btnExport"));
    }

    void exportFileChoice_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("exportEnabled");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "" << "" << false << "";
        QTest::newRow("not a package") << "/tmp/x.zip" << "" << false
                                       << "请选择或输入标准的票据包，例如：顺风快递07.tpk、天地达.tpk";
        QTest::newRow("a package, nothing listed") << "/tmp/a.tpk" << "/tmp/a.tpk" << true
                                                   << "还没有选择要导出的票据格式！";
    }
    void exportFileChoice()
    {
        QFETCH(QString, answer);
        QFETCH(QString, field);
        QFETCH(bool, exportEnabled);
        QFETCH(QString, message);
        m_data->dialogs.files.enqueue(answer);
        click(m_window.get(), "btnExpBrowse");
        QCOMPARE(m_data->dialogs.shown.first().text, QStringLiteral("墨雀票据模板.tpk|墨雀票据包(*.tpk)"));
        QCOMPARE(child<QLineEdit>(m_window.get(), "edtExportFolder")->text(), field);
        QCOMPARE(enabled("btnExport"), exportEnabled);
        if (exportEnabled)
            click(m_window.get(), "btnExport");
        if (!message.isEmpty())
            QCOMPARE(m_data->dialogs.lastText(), message);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/a.tpk")));
    }

    // A double-click shows the picture of the package's or the installation's template.
    void preview_data()
    {
        QTest::addColumn<QString>("listName");
        QTest::newRow("package entry") << "lstImpSel";
        QTest::newRow("installation entry") << "listExpExists";
    }
    void preview()
    {
        QFETCH(QString, listName);
        choose(package());
        QListWidget *entriesList = list(qPrintable(listName));
        QVERIFY(entriesList->count() > 0);
        auto *pages = m_window->findChild<QTabWidget *>();
        pages->setCurrentIndex(listName == QLatin1String("lstImpSel") ? 0 : 1);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        doubleClick(entriesList, 0);
        auto *viewer = m_window->findChild<ui::ImageViewer *>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->shownText(), QString());
        QCOMPARE(viewer->size(), QSize(750, 400));
        QVERIFY(viewer->windowTitle().contains(entriesList->item(0)->text()));
    }
};

QTEST_MAIN(TestTemplatePackageWindow)
#include "test_template_package_window.moc"
