// Measures the print layout designer: opening it over a template with 150
// print items, offscreen, until every item is drawn on the canvas.

#include "BenchSetup.h"
#include "app/AppCore.h"
#include "app/FontSetup.h"
#include "designers/LayoutCanvas.h"
#include "designers/PrintLayoutDesigner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTextStream>

namespace {

constexpr int kTemplate = 900;
constexpr int kItems = 150;

// A waybill-sized template on the default waybill's picture with 150 items in a grid.
bool makeTemplate(QSqlDatabase db)
{
    QSqlQuery q(db);
    db.transaction();
    q.prepare(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,PWidth,PHeight,"
                             "ImgFile,Visiable) values (?,?,?,?,?,?,?,?)"));
    q.addBindValue(kTemplate);
    q.addBindValue(QStringLiteral("测量单（大量项目）"));
    q.addBindValue(QStringLiteral("测量单"));
    q.addBindValue(QStringLiteral("大量项目"));
    q.addBindValue(2300);
    q.addBindValue(1270);
    q.addBindValue(QStringLiteral("kdd1.jpg"));
    q.addBindValue(QStringLiteral("启用"));
    if (!q.exec())
        return false;
    for (int i = 0; i < kItems; ++i) {
        const QString name = QStringLiteral("ZD%1").arg(i, 3, 10, QLatin1Char('0'));
        q.prepare(QStringLiteral("insert into NameDict (CheckTypeName,CtlName,CtlLabel,CtlData,PrintItem,ShowOrd) "
                                 "values (?,?,?,?,1,?)"));
        q.addBindValue(QStringLiteral("测量单"));
        q.addBindValue(name);
        q.addBindValue(QStringLiteral("项目%1").arg(i));
        // Every fifth item breaks into lines, every seventh spreads its characters.
        q.addBindValue(i % 5 == 0 ? QStringLiteral("广东省深圳市南山区科技园南区高新南七道") : QStringLiteral("测试%1").arg(i));
        q.addBindValue(i);
        if (!q.exec())
            return false;
        q.prepare(QStringLiteral("insert into ckControl (CheckTypeID,CtlName,CtlCName,CtlX,CtlY,CtlW,CtlH,CtlLH,"
                                 "CtlFontName,CtlFontSize,BreakNum,FitParam) values (?,?,?,?,?,?,?,?,?,?,?,?)"));
        q.addBindValue(kTemplate);
        q.addBindValue(name);
        q.addBindValue(QStringLiteral("项目%1").arg(i));
        q.addBindValue(50 + (i % 10) * 220);
        q.addBindValue(40 + (i / 10) * 80);
        q.addBindValue(200);
        q.addBindValue(50);
        q.addBindValue(45);
        q.addBindValue(i % 2 ? QStringLiteral("宋体") : QStringLiteral("黑体"));
        q.addBindValue(10);
        q.addBindValue(i % 5 == 0 ? QStringLiteral("6") : QString());
        q.addBindValue(i % 7 == 0 ? QStringLiteral("35") : QString());
        if (!q.exec())
            return false;
    }
    return db.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApp bench(argc, argv);
    moque::app::installFontSubstitutions();
    QTextStream out(stdout);
    moque::app::AppCore &core = bench.core;
    if (!bench.open() || !makeTemplate(core.db())) {
        out << "failed to prepare the data" << Qt::endl;
        return 1;
    }
    for (int round = 1; round <= 3; ++round) {
        QElapsedTimer t;
        t.start();
        moque::ui::PrintLayoutDesigner designer(core, kTemplate);
        designer.resize(1400, 900);
        designer.show();
        QCoreApplication::processEvents();
        designer.canvas()->repaint();
        const qint64 ms = t.elapsed();
        out << "open the print layout designer with " << designer.canvas()->itemCount() << " items ("
            << designer.canvas()->labelNames().size() << " labels), round " << round << ": " << ms
            << " ms (target under 300 ms)" << Qt::endl;
    }
    return 0;
}
