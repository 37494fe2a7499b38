#pragma once

#include "app/Session.h"
#include "settings/Options.h"
#include "settings/UserSettings.h"
#include "store/DataDirectory.h"
#include "store/Database.h"
#include "store/Store.h"

#include <memory>

namespace moque {
class Dialogs;
}

namespace moque::app {

// Everything the program keeps for one run, without windows: the data
// directory and its data file, options, settings files and the shared session.
// The desktop program, moque-cli and the tests build one each.
class AppCore
{
public:
    AppCore(const store::DataDirectory &dir, Dialogs &dialogs);
    ~AppCore();

    // Prepares the data directory (creating a missing data file with its
    // default data) and opens the data file. False with errorText() when the
    // directory cannot be written or the data file is not usable; a broken
    // data file is left untouched.
    bool open();
    QString errorText() const { return m_error; }
    bool createdDataFile() const { return m_createdDataFile; }

    const store::DataDirectory &dir() const { return m_dir; }
    QSqlDatabase db() const { return m_database.db(); }
    Dialogs &dialogs() { return m_dialogs; }
    store::Store &store() { return *m_store; }
    settings::Options &options() { return *m_options; }
    settings::UserSettings &settings() { return *m_settings; }
    settings::DebugLog &debug() { return *m_debug; }
    Session &session() { return m_session; }

    // Reads the four option flags into the session.
    void LoadSysParam();

    // Where a query failed or came back empty where it never should: in one
    // line, the table the data file lacks, or the damage SQLite's quick check
    // finds; empty when the file is sound.
    QString damageFound() const;

private:
    store::DataDirectory m_dir;
    Dialogs &m_dialogs;
    store::Database m_database;
    std::unique_ptr<store::Store> m_store;
    std::unique_ptr<settings::Options> m_options;
    std::unique_ptr<settings::UserSettings> m_settings;
    std::unique_ptr<settings::DebugLog> m_debug;
    Session m_session;
    QString m_error;
    bool m_createdDataFile = false;
};

} // namespace moque::app
