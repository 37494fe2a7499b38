#include "app/AppCore.h"

#include "history/HistoryStore.h"
#include "store/DataSetup.h"

namespace moque::app {

AppCore::AppCore(const store::DataDirectory &dir, Dialogs &dialogs)
    : m_dir(dir)
    , m_dialogs(dialogs)
{
}

AppCore::~AppCore() = default;

bool AppCore::open()
{
    store::DataSetup setup(m_dir);
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

void AppCore::LoadSysParam()
{
    m_session.params = settings::SysParams::load(*m_options);
}

} // namespace moque::app
