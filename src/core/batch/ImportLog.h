#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace moque::store {
class DataDirectory;
}

namespace moque::batch {

// The log of one recipient import, file "ImportLog.txt" in INI form: [LOG]
// says which rows were skipped and why, [ERR] which rows the store refused,
// [INFO] the file, the row count and the result. Starting a log erases those
// three sections; other sections of the file stay. The entries are kept in
// memory and written by save(), in the order they were made.
class ImportLog
{
public:
    explicit ImportLog(const QString &path) : m_path(path) {}

    // Where the import keeps its log: the data directory.
    static QString pathIn(const store::DataDirectory &dir);

    QString path() const { return m_path; }

    // Keys "N" + sheet row number.
    void log(int sheetRow, const QString &text) { m_log.append({rowKey(sheetRow), text}); }
    void error(int sheetRow, const QString &text) { m_err.append({rowKey(sheetRow), text}); }
    // Keys "File", "Total", "Finish".
    void info(const QString &key, const QString &text);

    // Writes the file; false with the reason when it cannot be written.
    bool save(QString *error = nullptr) const;

    using Entries = QList<QPair<QString, QString>>;
    // The entries of one section of an INI file, in file order.
    static Entries readSection(const QString &path, const QString &section);

private:
    static QString rowKey(int sheetRow) { return QStringLiteral("N%1").arg(sheetRow); }

    QString m_path;
    Entries m_log;
    Entries m_err;
    Entries m_info;
};

} // namespace moque::batch
