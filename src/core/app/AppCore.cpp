#include "app/AppCore.h"

#include "history/HistoryStore.h"
#include "app/DataSetup.h"

#include <QDir>

namespace moque::app {

AppCore::AppCore(const store::DataDirectory &dir, Dialogs &dialogs)
    : m_dir(dir)
    , m_dialogs(dialogs)
{
}

AppCore::~AppCore() = default;

bool AppCore::open()
{
    app::DataSetup setup(m_dir);
    if (!setup.prepare()) {
        m_error = setup.errorText();
        return false;
    }
    m_createdDataFile = setup.createdDataFile();
    // Each core has a connection of its own, so that tests may hold several.
    static int opened = 0;
    if (!m_database.open(m_dir.dataFile(), QStringLiteral("main-%1").arg(++opened))) {
        m_error = m_database.errorText();
        return false;
    }
    // The history searches use these; a data file that lacks a column simply keeps fewer of them.
    history::ensureHistoryIndexes(m_database.db());
    m_store = std::make_unique<store::Store>(m_database.db(), m_dialogs);
    m_options = std::make_unique<settings::Options>(m_database.db());
    m_settings = std::make_unique<settings::UserSettings>(m_dir.configIni());
    m_debug = std::make_unique<settings::DebugLog>(m_dir.debugIni());
    LoadSysParam();
    return true;
}

QString AppCore::damageFound() const
{
    // An older data file may lack tables the upgrade adds; these nothing is filled in or printed without.
    const QString missing = store::Database::missingTable(
        m_database.db(), {QStringLiteral("CKTypeTable"), QStringLiteral("ckControl"), QStringLiteral("NameDict"),
                          QStringLiteral("configtable")});
    if (!missing.isEmpty())
        return QStringLiteral("数据文件不完整（缺少 %1 表），可能已损坏：%2")
            .arg(missing, QDir::toNativeSeparators(m_dir.dataFile()));
    const QString problem = store::Database::integrityProblem(m_database.db());
    if (problem.isEmpty())
        return {};
    return QStringLiteral("数据文件已损坏：%1（%2）").arg(QDir::toNativeSeparators(m_dir.dataFile()), problem);
}

void AppCore::LoadSysParam()
{
    m_session.params = settings::SysParams::load(*m_options);
}

} // namespace moque::app
