#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::batch {

// Where the rows of a recipient spreadsheet go.
enum class ImportTarget {
    BatchList,   // ReceiverList, the recipients of the batch print window
    AddressBook, // CKPersonalInfoTable
};

// The scene of every alias row the import reads.
inline const QString importScene = QStringLiteral("收件信息导入");

// The item names of the import (the group item is shown as 地址薄分组 for the address book).
namespace item {
inline const QString fullName = QStringLiteral("单位全称");
inline const QString group = QStringLiteral("批打分组");
inline const QString partyType = QStringLiteral("单位类型");
inline const QString contact = QStringLiteral("联系人");
inline const QString phone = QStringLiteral("电话");
inline const QString mobile = QStringLiteral("手机");
inline const QString province = QStringLiteral("省");
inline const QString city = QStringLiteral("市");
inline const QString town = QStringLiteral("镇区");
inline const QString address = QStringLiteral("地址");
inline const QString remark = QStringLiteral("备注");
inline const QString inputCode = QStringLiteral("助记码");
inline const QString bank = QStringLiteral("开户银行");
inline const QString bankAccount = QStringLiteral("银行账号");
inline const QString capital1 = QStringLiteral("金额大写1");
inline const QString zipCode = QStringLiteral("邮编");
inline const QString country = QStringLiteral("国家");
inline const QString destination = QStringLiteral("目的站");
inline const QString goods = QStringLiteral("物品内容");
inline const QString pieces = QStringLiteral("件数");
inline const QString weight = QStringLiteral("重量");
inline const QString fee = QStringLiteral("费用");
inline const QString orderId = QStringLiteral("订单号");
inline const QString memberId = QStringLiteral("会员ID");
} // namespace item

// True when the title matches the comma-separated alias list: an alias
// without "*" when it equals the title ignoring case, an alias with "*" (all
// of them removed) when the title contains the rest. The first matching alias
// decides; empty aliases, and aliases made only of "*", match nothing.
bool MatchColumnOK(const QString &title, const QString &aliases);

// One non-empty title of the sheet's first row.
struct SheetTitle
{
    int column = 0; // from 1, as the sheet counts
    QString title;  // trimmed
    // How the match boxes show it: "列" + column + ":" + title.
    QString entry() const { return QStringLiteral("列%1:%2").arg(column).arg(title); }
};

// Item name to its sheet column (from 1); an item not in the map is unmatched.
using ColumnMapping = QMap<QString, int>;
// Item name to its alias list.
using AliasLists = QHash<QString, QString>;

// The titles of the first row, of at most its first 61 columns; empty title
// cells are left out.
QList<SheetTitle> readTitles(const QStringList &firstRow);

// The items the user may give a column to, for the target: the common ones,
// then the target's own. With a fixed party type the address book's type is
// chosen, not read from a column.
QStringList matchableItems(ImportTarget target, bool partyTypeFixed = true);

// Every title in column order goes to the first item of the target's order
// that is still free and whose aliases match it; a column goes to one item at
// most. 订单号 and 会员ID are matched for the batch list only.
ColumnMapping autoMatch(const QList<SheetTitle> &titles, const AliasLists &aliases, ImportTarget target,
                        bool partyTypeFixed = true);

// One row of table MatchColumn.
struct AliasRow
{
    int id = 0;
    QString itemName;
    QString sourceName;
    int showOrd = 0;
};

// The alias lists of table MatchColumn, as the import reads them and the
// alias editor changes them; every value bound.
class MatchColumnStore
{
public:
    explicit MatchColumnStore(QSqlDatabase db) : m_db(db) {}

    // The alias list of every item of the import: the first row of the item
    // (its name compared ignoring case); the item's own name when it has no
    // row, an empty one, or the table cannot be read.
    AliasLists aliasLists() const;

    // The rows of the import's scene in store order; empty on an error.
    QList<AliasRow> rows() const;

    // The alias text as the editor stores it: trimmed, without "'" and "?",
    // full-width commas made ",", doubled commas folded.
    static QString cleanAliases(const QString &text);
    // The message when the cleaned text is empty.
    static QString emptyAliasesMessage() { return QStringLiteral("请输入有效的Excel/csv列名"); }
    // The code typed as 顺序号 that lets the editor add, delete and rename rows.
    static bool isMaintenanceCode(const QString &showOrd) { return showOrd.trimmed() == QLatin1String("7260395"); }

    // Stores the cleaned aliases in the row; false with the reason in *error
    // (the message above when nothing is left of the text).
    bool changeAliases(int id, const QString &aliases, QString *error = nullptr) const;
    // Renames the row's item (maintenance mode); false on an empty name or an error.
    bool renameItem(int id, const QString &itemName, QString *error = nullptr) const;
    // Adds a row of the scene with ShowOrd 0; its Id, or -1 with the reason.
    int addRow(const QString &itemName, const QString &aliases = {}, QString *error = nullptr) const;
    bool removeRow(int id, QString *error = nullptr) const;

private:
    QSqlDatabase m_db;
};

} // namespace moque::batch
