#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace moque {
class Dialogs;
}

namespace moque::store {
class Store;
}

namespace moque::templates {

// The commands of the template management window and the cache reset, without
// windows. Each command shows its own messages and questions through the
// dialogs; every write of one command runs in one transaction, and picture
// files are copied or deleted only after that transaction is committed.
class TemplateManagement
{
public:
    // The state tabs of the window, in their order.
    enum class Tab { Usable, Common, Default, Hidden };

    // The command buttons a tab enables.
    struct Buttons
    {
        bool setDefault = false;
        bool setCommon = false;
        bool hide = false;
        bool enable = false;
        bool removeCommon = false;
        bool remove = false;
    };

    struct ListQuery
    {
        QString sql;
        QVariantList values;
    };

    // What the cache reset removed.
    struct CacheReset
    {
        int templates = 0;
        int printItems = 0;
        int entries = 0;
        QStringList pictures;
    };

    TemplateManagement(QSqlDatabase db, Dialogs &dialogs, store::Store &store, const QString &imageDir);

    static inline const QString allKinds = QStringLiteral("所有模板种类");

    // The template list of the tab, of the kind when one is given (not
    // "所有模板种类"), of full names containing the keyword in upper case.
    static ListQuery listQuery(Tab tab, const QString &kind, const QString &keyword);
    static Buttons buttonsFor(Tab tab);
    // The captions of the default and common buttons for the chosen kind.
    static QString defaultButtonCaption(const QString &kind);
    static QString commonButtonCaption(const QString &kind);
    static QString windowCaption(const QString &kindText, int rows);
    // The name the user typed without blanks, parentheses, quotes, % * and ?.
    static QString cleanName(const QString &typed);

    // Makes the template the default of its kind, enabled and common; the
    // previous default gets "0". False when nothing was changed.
    bool setDefault(int templateId);
    // Counts the templates made common, -1 on an engine error.
    int setCommon(const QList<int> &templateIds);
    // Counts the templates removed from the common list (never the default), -1 on an error.
    int removeFromCommon(const QList<int> &templateIds);
    bool hide(const QList<int> &templateIds);
    bool enable(const QList<int> &templateIds);
    // Asks, then deletes each confirmed template with its print items, its
    // configuration entries and its picture; bills saved with it stay.
    // The number deleted, -1 on an error.
    int deleteTemplates(const QList<int> &templateIds);
    // Asks for a new display name and copies the template, its print items and
    // its picture under it. The new number, 0 when nothing was made.
    int cloneTemplate(int templateId);
    // Asks for a new display name and renames the template. True when renamed.
    bool renameTemplate(int templateId);

    // Clears every template cache name, removes the templates of kinds without
    // a dictionary and the print items and configuration entries of missing
    // templates or fields, then the pictures in imageDir that no template uses
    // (names with "SYS_" stay). An engine error leaves the data file as it was
    // and gives "清除软件缓存失败！" + message in *error; the pictures are
    // cleared even then.
    CacheReset resetCache(QString *error = nullptr);

private:
    bool writeVisibility(const QList<int> &templateIds, const QString &visible);
    int writeCommon(const QList<int> &templateIds, bool common);
    bool pictureUsedElsewhere(const QString &picture, int templateId);

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    store::Store &m_store;
    QString m_imageDir;
};

} // namespace moque::templates
