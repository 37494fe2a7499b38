// Measures the waybill window: opening it on the default template and
// switching between the two default waybill templates.

#include "BenchSetup.h"
#include "app/AppCore.h"
#include "app/FontSetup.h"
#include "entry/WaybillWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    BenchApp bench(argc, argv);
    moque::app::installFontSubstitutions();
    QTextStream out(stdout);
    moque::app::AppCore &core = bench.core;
    if (!bench.open())
        return 1;
    QElapsedTimer t;
    t.start();
    moque::ui::WaybillWindow window(core);
    window.resize(1200, 800);
    window.show();
    QCoreApplication::processEvents();
    out << "open the waybill window on the default template: " << t.elapsed() << " ms" << Qt::endl;

    auto *templates = window.findChild<QComboBox *>(QStringLiteral("cbFirstTypeName"));
    if (!templates || templates->count() < 2) {
        out << "fewer than two waybill templates" << Qt::endl;
        return 1;
    }
    constexpr int switches = 20;
    qint64 worst = 0;
    int loads = 0;
    t.restart();
    for (int i = 1; i <= switches; ++i) {
        QElapsedTimer one;
        one.start();
        const int before = window.curTypeId();
        templates->setCurrentIndex(i % templates->count());
        QCoreApplication::processEvents();
        worst = qMax(worst, one.elapsed());
        loads += window.curTypeId() != before ? 1 : 0;
    }
    out << switches << " template switches (" << loads << " loaded another template): " << t.elapsed() / switches << " ms each on average, " << worst
        << " ms the slowest (target under 150 ms)" << Qt::endl;
    return 0;
}
