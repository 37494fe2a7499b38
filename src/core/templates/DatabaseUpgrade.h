#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace moque::templates {

// Brings a data file written by an earlier version, and the package skeleton
// Data/Template.a01, to this version's structure in place: missing tables and
// columns (with this version's types), the waybill dictionary fields, the
// dictionary's normal form, the templates' kinds and common flags, the
// skeleton's version row and the option `version`. The data file changes in
// one transaction: it is upgraded whole or left as it was.
class DatabaseUpgrade
{
public:
    // position of maximum, and the progress text "进度:" + position + "/" + maximum [+ " >> " + step].
    using Progress = std::function<void(int position, int maximum, const QString &text)>;

    // The data file's open connection, the skeleton's path and the version the upgrade records.
    DatabaseUpgrade(QSqlDatabase db, const QString &packageSkeleton, const QString &version);

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // True when a table or column this version needs is missing from the data
    // file or the skeleton, or the recorded `version` differs.
    bool isNeeded();

    // True when the data file already records this version: run() refuses.
    bool versionRecorded() const { return recordedVersion() == m_version; }

    // Runs the upgrade; false when it was refused (the version is already
    // recorded) or failed, with the reason in message(). On success message()
    // is "恭喜，升级成功啦！" and changes() lists what changed.
    bool run();

    QString message() const { return m_message; }
    // One line for each change, such as "CKTypeTable: added IsCommon" or "NameDict: added ZDTIJI".
    QStringList changes() const { return m_changes; }

    static QString progressText(int position, int maximum, const QString &step = {});

    // Copies the data file to <data file>.bak-yyyyMMddHHmmss before an upgrade;
    // the copy's path, empty when it could not be made.
    static QString backUpDataFile(const QString &dataFile);

private:
    struct Step;

    QString recordedVersion() const;
    QList<Step> structureSteps(QSqlDatabase db, bool dataFile) const;
    void grow(int by, const QString &step);
    QString upgrade(QSqlDatabase skeleton);
    QString upgradeStructure(QSqlDatabase db, const QList<Step> &steps);
    QString fillTypeFirstName();
    QString writeSkeletonVersion(QSqlDatabase skeleton);
    QString addDictionaryFields();
    QString normaliseDictionary();
    QString markCommonTemplates();

    QSqlDatabase m_db;
    QString m_skeletonPath;
    QString m_version;
    Progress m_progress;
    int m_position = 0;
    int m_maximum = 0;
    bool m_typeFirstNameAdded = false;
    QString m_message;
    QStringList m_changes;
};

} // namespace moque::templates
