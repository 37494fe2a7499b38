#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::refdata {

// Template numbers of a comma list such as "12,0": blanks around entries are
// ignored and entries that are not whole numbers are skipped, so a list
// typed by hand never reaches a statement as text.
QList<int> parseTemplateIds(const QString &ids);

// The dictionary names the name box of the dictionary window offers.
QStringList presetDictionaryNames();

// One stored value of a dictionary (a DMTable row); id 0 for a row not stored yet.
struct DictionaryValue
{
    int id = 0;
    QString name;
    QString value;
    int templateId = 0;
};

// The drop-down dictionaries (table DMTable). A dictionary is the set of rows
// with one DMName; a template is offered its own rows and those of template 0.
// Names beginning with "cfg" (any letter case) are per-template configuration
// entries and are never listed as dictionaries.
class Dictionaries
{
public:
    // The value a new dictionary starts with.
    static const QString placeholderValue;

    enum class Result { Done, EmptyName, Exists, Failed };
    struct Outcome
    {
        Result result = Result::Failed;
        QString text;    // the message to show, empty when nothing is to be shown
        QString caption;
        bool ok() const { return result == Result::Done; }
    };

    explicit Dictionaries(QSqlDatabase db) : m_db(db) {}

    // Values of the dictionary for the templates of the list ("12,0"), those of
    // the highest template number first; a value both a template and template
    // 0 have is listed twice. Empty on an error.
    QStringList loadDMListByName(const QString &name, const QString &templateIds) const;
    QStringList loadDMListByName(const QString &name, const QList<int> &templateIds) const;

    // Dictionary names of the template, sorted; when it has none of its own
    // (and is not 0), the names of template 0. Empty on an error.
    QStringList loadDictionaryNames(int templateId) const;

    // The rows of the dictionary for the template, by value; withCommon adds
    // those of template 0. Nothing on an error (see lastError()).
    std::optional<QList<DictionaryValue>> loadValues(const QString &name, int templateId, bool withCommon) const;
    // The statement loadValues runs, for the error message.
    static QString valuesStatement(bool withCommon);

    // Creates the dictionary for the template with the placeholder value;
    // refused for an empty name or one the template already has.
    Outcome addDictionary(int templateId, const QString &name);

    // Stores new rows (id 0) and changed values in one transaction; false,
    // with nothing stored, when one fails.
    bool saveValues(const QList<DictionaryValue> &rows);
    bool deleteValue(int id);

    QString lastError() const { return m_error; }

private:
    QSqlDatabase m_db;
    mutable QString m_error;
};

// The value grid of the dictionary window: ID, DMName, 字典内容 and 单据号 of
// the listed rows. Only 字典内容 can be edited; edits and appended rows stay
// pending until the window stores them.
class DictionaryValueModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { IdColumn, NameColumn, ValueColumn, TemplateColumn, ColumnCount };

    explicit DictionaryValueModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void setRows(const QList<DictionaryValue> &rows);
    DictionaryValue row(int r) const { return m_rows.value(r); }
    // Appends a row not stored yet and gives its number.
    int appendRow(const QString &name, int templateId);
    void removeListedRow(int r);

    // Appended and edited rows not stored yet.
    QList<DictionaryValue> pendingRows() const;
    bool hasPending() const { return !pendingRows().isEmpty(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    QList<DictionaryValue> m_rows;
    QList<bool> m_changed;
};

} // namespace moque::refdata
