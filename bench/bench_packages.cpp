// Times template packages: 50 templates with their pictures, print items and
// configuration entries exported into one package, and that package imported
// into a fresh data directory (target: under 2 s each).

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "store/BoundQuery.h"
#include "templates/TemplatePackage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace moque;

namespace {

constexpr int kTemplates = 50;

// A data directory of its own with an opened core.
struct BenchData
{
    QTemporaryDir dir;
    BenchDialogs dialogs;
    app::AppCore core{store::DataDirectory(dir.path()), dialogs};

    bool open()
    {
        if (core.open())
            return true;
        std::fprintf(stderr, "cannot open data: %s\n", qPrintable(core.errorText()));
        return false;
    }
};

// Copies of the default waybill template, each with a picture of its own, its
// print items and two configuration entries.
bool addTemplates(BenchData &data)
{
    QSqlDatabase db = data.core.db();
    const QString picture = data.core.dir().imageDir() + QStringLiteral("kdd1.jpg");
    QSqlQuery q(db);
    db.transaction();
    for (int i = 0; i < kTemplates; ++i) {
        const int id = 100 + i;
        const QString name = QStringLiteral("样张%1").arg(i + 1);
        const QString image = QStringLiteral("bench%1.jpg").arg(id);
        if (!store::execBound(q,
                              QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,"
                                             "XMove,YMove,THeight,TWidth,PWidth,PHeight,HVPrint,ImgFile,Visiable,IsDefault,"
                                             "IsCommon,ShowOrd,CheckBoxs) select ?,?,TypeFirstName,?,XMove,YMove,THeight,"
                                             "TWidth,PWidth,PHeight,HVPrint,?,Visiable,'0',IsCommon,ShowOrd,CheckBoxs "
                                             "from CKTypeTable where CheckTypeID=1"),
                              QVariantList{id, QStringLiteral("快递单（%1）").arg(name), name, image})
            || !store::execBound(q,
                                 QStringLiteral("insert into ckControl (CheckTypeID,CtlName,CtlCName,CtlType,CtlX,CtlY,"
                                                "CtlW,CtlH,CtlLH,SrcX,SrcY,SrcW,SrcH,NeedPrint,NeedShow,CtlFontName,"
                                                "CtlFontSize,BreakFontSize,Bold,Italic,UnderLine,FitParam,Align,BreakNum,"
                                                "InitValue,ShowOrd) select ?,CtlName,CtlCName,CtlType,CtlX,CtlY,CtlW,"
                                                "CtlH,CtlLH,SrcX,SrcY,SrcW,SrcH,NeedPrint,NeedShow,CtlFontName,CtlFontSize,"
                                                "BreakFontSize,Bold,Italic,UnderLine,FitParam,Align,BreakNum,InitValue,"
                                                "ShowOrd from ckControl where CheckTypeID=1"),
                                 QVariantList{id})
            || !store::execBound(q,
                                 QStringLiteral("insert into DMTable (DMName,DMValue,CheckTypeId) values "
                                                "('cfgDateFormat','yyyy-mm-dd',?),('备注','易碎',?)"),
                                 QVariantList{id, id})
            || !QFile::copy(picture, data.core.dir().imageDir() + image)) {
            std::fprintf(stderr, "cannot add template %d\n", id);
            return false;
        }
    }
    return db.commit();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchData source;
    BenchData target;
    if (!source.open() || !target.open() || !addTemplates(source))
        return 1;
    QStringList names;
    for (int i = 0; i < kTemplates; ++i)
        names << QStringLiteral("快递单（样张%1）").arg(i + 1);
    const QString package = source.dir.filePath(QStringLiteral("样张.tpk"));

    QElapsedTimer timer;
    timer.start();
    templates::PackageExporter exporter(source.core.db(), source.dialogs, source.core.dir(), QStringLiteral("9.8"));
    bool written = false;
    const templates::TransferCount exported = exporter.exportTemplates(names, package, &written);
    const qint64 exportMs = timer.elapsed();
    std::printf("export %d templates with pictures: %lld ms (%d exported, package %lld KB)\n", kTemplates, exportMs,
                exported.done, QFileInfo(package).size() / 1024);

    timer.restart();
    templates::PackageReader reader;
    if (!reader.open(package)) {
        std::fprintf(stderr, "%s\n", qPrintable(reader.errorText()));
        return 1;
    }
    templates::PackageImporter importer(target.core.db(), target.dialogs, target.core.dir());
    const templates::TransferCount imported = importer.importTemplates(reader, reader.fullNames(), true);
    const qint64 importMs = timer.elapsed();
    std::printf("import %d templates into a fresh data directory (checks included): %lld ms (%d imported)\n",
                kTemplates, importMs, imported.done);
    std::printf("target: under 2000 ms each: %s\n", exportMs < 2000 && importMs < 2000 ? "met" : "MISSED");
    return written && exported.done == kTemplates && imported.done == kTemplates ? 0 : 1;
}
