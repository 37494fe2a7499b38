#include "app/DataSetup.h"

#include "app/DefaultPictures.h"
#include "store/DefaultData.h"
#include "store/Schema.h"
#include "templates/TemplatePicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace moque::app {

// Setting up the data directory is the store's work, with the pictures drawn on top.
using namespace store;

namespace {

// Making a new data directory takes well under a second; a program waits this long for another one doing it.
constexpr int lockWaitMs = 60000;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Draws the background pictures of the new data file's templates from their
// print items. Missing pictures only cost the user a plain form, so failures
// here never fail the setup.
void writeTemplatePictures(const QString &dataFile, const QString &imageDir)
{
    const QString connection = QStringLiteral("pictures-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dataFile);
        // Pictures can wait for the next start: do not sit out another program's lock here.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=200"));
        if (db.open()) {
            templates::writeMissingPictures(db, imageDir);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

QString DataSetup::createDatabaseFile(const QString &path, bool dataFile)
{
    // Only the holder of the set-up lock writes here; a start killed half-way leaves
    // the file and its journal, which must not be rolled back into the new file.
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));
    const QString connection = QStringLiteral("create-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temp);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            db.transaction();
            error = createMissingTables(db, dataFile ? dataFileTables() : packageTables());
            if (error.isEmpty() && dataFile)
                error = DefaultData::load(db);
            if (error.isEmpty() && !db.commit())
                error = db.lastError().text();
            if (!error.isEmpty())
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (error.isEmpty() && !QFile::rename(temp, path))
        error = QStringLiteral("cannot rename %1").arg(native(temp));
    if (!error.isEmpty()) {
        QFile::remove(temp);
        return QStringLiteral("无法创建数据文件：%1\n%2").arg(native(path), error);
    }
    return {};
}

bool DataSetup::makeFolders()
{
    QDir root;
    for (const QString &folder : QStringList{m_dir.root(), m_dir.root() + QStringLiteral("Data"), m_dir.imageDir(),
                                  m_dir.cacheDir()}) {
        if (!root.mkpath(folder) || !QFileInfo(folder).isWritable()) {
            m_error = QStringLiteral("无法写入数据目录：%1\n请确认该目录存在并且当前用户有写入权限。").arg(native(folder));
            return false;
        }
    }
    return true;
}

namespace {
// Printer models the calibration window offers as a start. No shift is known
// for a printer nobody has measured: the presets say how to set the paper
// guide, and the user's own test page gives the offsets. Section names
// ignore letter case: the list and the presets share one section.
const char calibrationPresets[] =
    "[PrinterWeKnow]\n"
    "printers=EPSON LQ-630K,EPSON LQ-730K,OKI 5100F,映美 FP-620K,得实 DS-1100II\n"
    "default.EPSON LQ-630K.x=0\ndefault.EPSON LQ-630K.y=0\n"
    "default.EPSON LQ-630K.board=挡板推到最左，票据左边靠挡板\ndefault.EPSON LQ-630K.d=纵向\n"
    "default.EPSON LQ-630K.img=Image/sys_exZX.jpg\n"
    "default.EPSON LQ-730K.x=0\ndefault.EPSON LQ-730K.y=0\n"
    "default.EPSON LQ-730K.board=挡板推到最左，票据左边靠挡板\ndefault.EPSON LQ-730K.d=纵向\n"
    "default.EPSON LQ-730K.img=Image/sys_exZX.jpg\n"
    "default.OKI 5100F.x=0\ndefault.OKI 5100F.y=0\n"
    "default.OKI 5100F.board=挡板对准刻度0，票据左边靠挡板\ndefault.OKI 5100F.d=纵向\n"
    "default.OKI 5100F.img=Image/sys_exZX.jpg\n"
    "default.映美 FP-620K.x=0\ndefault.映美 FP-620K.y=0\n"
    "default.映美 FP-620K.board=挡板推到最左，票据左边靠挡板\ndefault.映美 FP-620K.d=纵向\n"
    "default.映美 FP-620K.img=Image/sys_exZX.jpg\n"
    "default.得实 DS-1100II.x=0\ndefault.得实 DS-1100II.y=0\n"
    "default.得实 DS-1100II.board=挡板对准刻度0，票据左边靠挡板\ndefault.得实 DS-1100II.d=纵向\n"
    "default.得实 DS-1100II.img=Image/sys_exZX.jpg\n";
} // namespace

bool DataSetup::writeConfigIni()
{
    if (QFileInfo::exists(m_dir.configIni()))
        return true;
    QFile f(m_dir.configIni());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_error = QStringLiteral("无法写入设置文件：%1\n%2").arg(native(m_dir.configIni()), f.errorString());
        return false;
    }
    f.write("[Info]\nnm=墨雀\n\n[FM_MAIN]\nTOOLBARMAIN=1\n\n[Config]\n\n");
    f.write(calibrationPresets);
    return true;
}

bool DataSetup::isComplete() const
{
    for (const QString &file : {m_dir.dataFile(), m_dir.packageSkeleton(), m_dir.configIni()})
        if (!QFileInfo(file).isFile())
            return false;
    return QFileInfo(m_dir.imageDir()).isDir() && QFileInfo(m_dir.cacheDir()).isDir();
}

bool DataSetup::createMissingFiles()
{
    if (!QFileInfo::exists(m_dir.dataFile())) {
        m_error = createDatabaseFile(m_dir.dataFile(), true);
        if (!m_error.isEmpty())
            return false;
        m_createdDataFile = true;
    }
    if (!QFileInfo::exists(m_dir.packageSkeleton())) {
        m_error = createDatabaseFile(m_dir.packageSkeleton(), false);
        if (!m_error.isEmpty())
            return false;
    }
    return writeConfigIni();
}

void DataSetup::drawMissingPictures()
{
    // Pictures cut short or never drawn (a start killed while drawing them) are drawn again.
    if (!QFileInfo(m_dir.imageDir()).isWritable())
        return;
    app::DefaultPictures::writeMissing(m_dir.imageDir());
    writeTemplatePictures(m_dir.dataFile(), m_dir.imageDir());
}

bool DataSetup::prepare()
{
    m_error.clear();
    m_createdDataFile = false;
    // A complete directory needs no writing, so a read-only one still opens.
    if (!isComplete()) {
        if (!makeFolders())
            return false;
        // Programs starting together on a new directory: one makes the files, the
        // others wait for it and then use what it made. A lock left by a program that
        // died is taken over.
        QLockFile lock(m_dir.root() + QStringLiteral("Data/.setup.lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(lockWaitMs)) {
            m_error = QStringLiteral("数据目录正被另一个程序初始化，请稍后再试：%1").arg(native(m_dir.root()));
            return false;
        }
        if (!createMissingFiles())
            return false;
    }
    drawMissingPictures();
    return true;
}

} // namespace moque::app
