#pragma once

// What the catalogue windows' benchmarks share: the program offscreen over
// the core of a fresh data directory, many entries inserted at once, and a
// window opened and filtered by keyword, each step timed and printed.

#include "BenchDialogs.h"
#include "app/AppCore.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QVariantList>

#include <cstdio>
#include <functional>
#include <memory>

// The program offscreen, with the core over a fresh data directory.
struct BenchApp
{
    BenchApp(int &argc, char **argv) : app(offscreen(argc), argv) {}

    QApplication app;
    QTemporaryDir dir;
    BenchDialogs dialogs;
    moque::app::AppCore core{moque::store::DataDirectory(dir.path()), dialogs};

    // Opens the data directory; says why on stderr when it cannot.
    bool open()
    {
        if (core.open())
            return true;
        std::fprintf(stderr, "cannot open data: %s\n", qPrintable(core.errorText()));
        return false;
    }

private:
    // The platform is chosen when the application starts.
    static int &offscreen(int &argc)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
};

// Inserts the entries through one prepared statement in one transaction,
// row(i) giving the i-th entry's values in the statement's order.
inline void insertEntries(QSqlDatabase db, const QString &statement, int entries,
                          const std::function<QVariantList(int)> &row)
{
    QElapsedTimer timer;
    timer.start();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(statement);
    for (int i = 0; i < entries; ++i) {
        const QVariantList values = row(i);
        for (qsizetype column = 0; column < values.size(); ++column)
            insert.bindValue(int(column), values.at(column));
        insert.exec();
    }
    db.commit();
    std::printf("insert %d entries: %lld ms\n", entries, timer.elapsed());
}

// How many rows the window's grid lists.
inline int gridRows(const QWidget &window, const QString &grid)
{
    return window.findChild<QTableView *>(grid)->model()->rowCount();
}

template<class Window>
struct OpenedWindow
{
    std::unique_ptr<Window> window;
    qint64 ms;
};

// Opens the window over the core until it has listed every entry in its grid.
template<class Window>
OpenedWindow<Window> openAndListAll(moque::app::AppCore &core, const QString &grid)
{
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<Window>(core);
    window->show();
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    std::printf("window: open and list all: %lld ms (%d rows)\n", ms, gridRows(*window, grid));
    return {std::move(window), ms};
}

// Types the keyword into the window's box and queries; gives how long until it listed.
inline qint64 filterByKeyword(QWidget &window, const QString &box, const QString &keyword, const QString &grid)
{
    QElapsedTimer timer;
    timer.start();
    window.findChild<QLineEdit *>(box)->setText(keyword);
    window.findChild<QPushButton *>(QStringLiteral("btQuery"))->click();
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    std::printf("window: keyword filter: %lld ms (%d rows)\n", ms, gridRows(window, grid));
    return ms;
}
