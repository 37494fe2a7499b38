#pragma once

#include "templates/TemplateRow.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque {
class Dialogs;
}

namespace moque::store {
class Store;
}

namespace moque::templates {

// The lookups through which every window finds templates (CKTypeTable rows)
// and bill kinds (NameDict). It keeps no state: every call reads the database.
// Lookups that report an engine error to their caller do so through `error`
// (left untouched on success) and give the empty value.
class TemplateCatalog
{
public:
    TemplateCatalog(QSqlDatabase db, Dialogs &dialogs, store::Store &store);

    QSqlDatabase db() const { return m_db; }

    // The template of the kind with the display name; when none, the template
    // whose full name is kind（name）. 0 when neither exists.
    int loadCheckTypeIDByFirstAndLastName(const QString &kind, const QString &displayName);
    // The number of the template with the full name as text, "0" when none.
    QString loadCheckTypeIDByTypeFullName(const QString &fullName);
    QString loadCheckTypeFullNameByID(int templateId);
    // The template's kind; when TypeFirstName is empty, the part of the full
    // name before "（" or "(". A data file without the TypeFirstName column gets
    // it added and filled for every template (the result is then empty).
    QString loadCheckTypeFirstNameByID(int templateId);
    QString loadCheckTypeLastNameByID(int templateId);
    // The kind of the first dictionary row, empty when none.
    QString loadDefaultTypeFirstName();
    // Every bill kind of the dictionary, sorted.
    QStringList loadCheckTypeFirstNameList();
    // Display names of the enabled templates of the kind, sorted; an empty
    // kind shows a message and gives no list.
    QStringList loadCheckTypeLastNameList(const QString &kind);
    // Full names of the enabled templates of the kind (of all kinds when empty), sorted.
    QStringList loadCheckTypeFullNameList(const QString &kind);
    // Display names of the enabled common templates of the kind, the default one first.
    QStringList loadCommonTypeLastNameList(const QString &kind);
    // The default template of the kind (visible or not); else, after a message,
    // the lowest enabled one; else, after a second message, -1.
    int loadDefaultCheckTypeId(const QString &kind);
    // True when the kind has a template with the display name.
    // Engine error: "CheckTypeExists:" + message.
    bool CheckTypeExists(const QString &kind, const QString &displayName, QString *error = nullptr);
    // The whole-template offset of the kind's first template (ordered by
    // IsCommon, IsDefault); false when the kind has none.
    // Engine error: "用户常用单据偏移参数获取失败!:" + message.
    bool loadUserXYMoveByFirstName(const QString &kind, int &xMove, int &yMove, QString *error = nullptr);
    // The next template number as text ("1" for an empty catalogue).
    // Engine error: "NewMaxCheckTypeId:" + message and empty text.
    QString loadMaxNewCheckTypeId(QString *error = nullptr);
    // The short code of a bill kind used in picture file names; empty for other kinds.
    static QString getTypeCodeByTypeName(const QString &kind);
    // The template's orientation as text ("0" portrait, "1" landscape); empty
    // when the template does not exist or the lookup fails.
    QString getHXPaperIn(int templateId);
    // Full names used by the bills saved in a history table.
    QStringList loadHistoryTypeNameList(const QString &historyTable);
    // Distinct values of a history table's column, of the bills with the
    // status (all bills when the status is empty).
    QStringList loadCheckNOList(const QString &historyTable, const QString &status, const QString &column);

    // Whole template rows.
    std::optional<TemplateRow> templateById(int templateId);
    std::optional<TemplateRow> templateByFullName(const QString &fullName);
    // Every template, by kind and then by number.
    QList<TemplateRow> allTemplates();

    // The part of a full name before "（", else before "(", else the whole name.
    static QString kindOfFullName(const QString &fullName);

private:
    // Adds the TypeFirstName column and fills it from each template's full name.
    void repairTypeFirstName();

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    store::Store &m_store;
};

} // namespace moque::templates
