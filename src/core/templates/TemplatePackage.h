#pragma once

#include "store/DataDirectory.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace moque {
class Dialogs;
}

namespace moque::settings {
class UserSettings;
}

namespace moque::templates {

// One template listed in a package (a _CKTypeTable row).
struct PackageEntry
{
    int id = 0;       // CheckTypeID in the exporting installation
    QString fullName; // TypeName
};

// A template package file (.tpk) opened for reading through a connection of its
// own. Opening checks the whole file first: a file that is not a database, is
// damaged, lacks a table or column the import reads, holds a picture that is
// not a picture or lists more than maxTemplates templates is refused, so that
// nothing is imported from it. The file itself is opened read-only.
class PackageReader
{
public:
    static constexpr int maxTemplates = 1000;

    PackageReader() = default;
    ~PackageReader();
    PackageReader(const PackageReader &) = delete;
    PackageReader &operator=(const PackageReader &) = delete;

    // False with errorText() "票据包无法读取：<file>\n<why>" when refused.
    bool open(const QString &file);
    void close();
    bool isOpen() const { return !m_connection.isEmpty(); }
    QString fileName() const { return m_file; }
    QString errorText() const { return m_error; }
    QSqlDatabase db() const;

    // V928 packages carry _Config (and with it print items and configuration
    // entries); V927 packages lack it.
    bool hasConfig() const { return m_hasConfig; }
    bool hasKindColumn() const { return m_hasKindColumn; }
    // Whether the package's _ckControl has the column (older ones lack InitValue, CtlFontColor, Align).
    bool hasItemColumn(const QString &column) const { return m_itemColumns.contains(column.toLower()); }
    bool hasTypeColumn(const QString &column) const { return m_typeColumns.contains(column.toLower()); }
    QList<PackageEntry> entries() const { return m_entries; }
    QStringList fullNames() const;
    // The picture file's bytes of the first template of that full name; empty when it has none.
    QByteArray pictureBytes(const QString &fullName) const;

    // Whether a file name is taken as a package: ".tpk" or the older ".qvx" in it.
    static bool isPackageName(const QString &file);

private:
    bool refuse(const QString &why);
    QString check();

    QString m_file;
    QString m_connection;
    QString m_error;
    bool m_hasConfig = false;
    bool m_hasKindColumn = false;
    QStringList m_itemColumns; // lower case
    QStringList m_typeColumns; // lower case
    QList<PackageEntry> m_entries;
};

// Counts of one import or export run.
struct TransferCount
{
    int done = 0;
    int failed = 0;
};

// What became of one imported template.
struct ImportedTemplate
{
    int id = 0;           // the template's number in this installation
    QString fullName;     // its TypeName here
    bool replaced = false; // an older template of that full name was replaced
};

// Imports templates of a package into the data file. Each template is written
// in one transaction, its picture only after the commit, so that a failure
// leaves no half template. Messages go through the dialogs; the last
// failure's engine message is kept in Config.ini, section ERROR, key LASTERROR.
class PackageImporter
{
public:
    PackageImporter(QSqlDatabase db, Dialogs &dialogs, const store::DataDirectory &dir,
                    settings::UserSettings *settings = nullptr);

    // Imports the template of that full name. With replaceOld a template of
    // the same full name is replaced and keeps its number; without it the
    // new template's display name gains ".新".
    bool importTemplate(const PackageReader &package, const QString &fullName, bool replaceOld,
                        ImportedTemplate *imported = nullptr);
    // Imports each in order, reporting the progress after each; the summary is
    // left to the caller (summaryText).
    TransferCount importTemplates(const PackageReader &package, const QStringList &fullNames, bool replaceOld,
                                  const std::function<void(int done, int total, const ImportedTemplate *)> &progress = {});

    static QString summaryText(const TransferCount &count);

private:
    void noteError(const QString &text, const QString &engineMessage);

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    store::DataDirectory m_dir;
    settings::UserSettings *m_settings;
};

// Exports templates of the data file into a new package. The package is
// written under a temporary name beside the target and renamed over it only
// when complete, so that a failed export leaves no half package.
class PackageExporter
{
public:
    PackageExporter(QSqlDatabase db, Dialogs &dialogs, const store::DataDirectory &dir, QString appVersion,
                    settings::UserSettings *settings = nullptr);

    // Exports the templates of those full names into target; `written` tells
    // whether the package file was made.
    TransferCount exportTemplates(const QStringList &fullNames, const QString &target, bool *written = nullptr,
                                  const std::function<void(int done, int total)> &progress = {});

    static QString summaryText(const TransferCount &count);
    // The file name proposed for a package of those templates.
    static QString proposedFileName(const QStringList &fullNames);

private:
    // One template into the open package; false when it could not be exported.
    bool exportOne(QSqlDatabase package, const QString &fullName);
    void noteError(const QString &text, const QString &engineMessage);

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    store::DataDirectory m_dir;
    QString m_version;
    settings::UserSettings *m_settings;
};

} // namespace moque::templates
