#pragma once

#include "store/DataDirectory.h"

#include <QString>

namespace moque::app {

// Makes a data directory ready for use: its folders, a new data file with the
// whole schema and the default data when none exists, the package skeleton,
// Config.ini and the default pictures. Existing files are never overwritten,
// except pictures of ours cut short. Safe against other programs setting up
// the same directory at the same time.
class DataSetup
{
public:
    explicit DataSetup(const store::DataDirectory &dir) : m_dir(dir) {}

    // False with a message in errorText() when the directory cannot be written
    // or a new file cannot be created.
    bool prepare();

    bool createdDataFile() const { return m_createdDataFile; }
    QString errorText() const { return m_error; }

    // Writes a new database file holding the given tables (and, for the data
    // file, the default data). The file appears whole or not at all.
    static QString createDatabaseFile(const QString &path, bool dataFile);

private:
    bool isComplete() const;
    bool makeFolders();
    bool createMissingFiles();
    bool writeConfigIni();
    void drawMissingPictures();

    store::DataDirectory m_dir;
    bool m_createdDataFile = false;
    QString m_error;
};

} // namespace moque::app
