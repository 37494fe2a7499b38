#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::templates {
class TemplateCatalog;
}

namespace moque::design {

class DesignHistory;

// What the entry layout designer puts on the picture for a field, by the
// dictionary's CtlType (upper case; empty means TEXT).
enum class ControlKind { Text, Shape, Line, CheckBox, Label, None };

ControlKind controlKindOf(const QString &ctlType);

// One dictionary field with the screen place of its print item. A field
// without a print item has place, size and visibility 0.
struct FieldControl
{
    QString name;  // upper case
    QString label; // CtlLabel
    ControlKind kind = ControlKind::Text;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool shown = false;
    QString initValue;
    bool hasItem = false;
};

// A print item's columns that the designer shows when the item is selected.
struct EntryItem
{
    QString type; // CtlType, upper case
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int printW = 0; // CtlW
    int printH = 0; // CtlH
    bool shown = false;
    QString initValue;
    QString fontName;
    int fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int boldValue = 0; // Bold as stored: a line's thickness less one
};

// The values the spin boxes SrcX, SrcY, SrcW and SrcH take for an item: a
// line shows its printed thickness (Bold + 1) across it, its length along it.
QRect spinPlace(const EntryItem &item);

// What one save of the current control writes.
struct EntrySave
{
    QRect place;      // SrcX, SrcY, SrcW, SrcH
    bool hidden = false;
    QString initValue; // trimmed before writing
    QString fontName;
    int fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class SaveOutcome { Updated, Inserted, Refused, Failed };

// CtlType of a print item the designer creates for a control.
QString newItemType(ControlKind kind, const QString &name);
// CtlCName of a print item the designer creates: a check box's caption after
// "勾选-", an edit box's or shape's hint, otherwise the list's caption ("NULL"
// without one).
QString newItemCaption(ControlKind kind, const QString &caption, const QString &hint, const QString &listCaption);

// The text a refused save shows.
QString refusedSaveMessage(const QString &name);
// "'" + caption + "' 打印细节修改成功！"
QString savedMessage(const QString &caption);

enum class Direction { Up, Left, Right, Down };

// A keyboard move of a control on the picture: its new place and the message.
struct KeyMove
{
    QRect place;
    QString message;
};

// Ctrl+arrow (step 1) and Ctrl+Shift+arrow (step 10). The left and top edges
// stop at 10 and at the picture's width or height less 10; the message tells
// the step asked for.
KeyMove moveByKey(const QRect &place, Direction direction, int step, const QSize &picture);
// Shift+arrow: width (left, right) or height (up, down) by 1, never below 1.
QRect sizeByKey(const QRect &place, Direction direction);

// How the designer handles an answer to "勾选项目定义".
struct CheckBoxListEdit
{
    enum class Outcome { Unchanged, Invalid, Changed };
    Outcome outcome = Outcome::Unchanged;
    QString list;    // the list to store when Changed
    QString message; // the message when Invalid
};

// An empty answer or the current list itself changes nothing; otherwise the
// answer is trimmed, loses brackets, quotes, %, *, ? and blanks and gets
// half-width commas; an empty result is refused with a message.
CheckBoxListEdit editCheckBoxList(const QString &answer, const QString &current);

// The template the designer opens on: the one asked for, else the session's,
// else the default of its kind (or of the dictionary's first kind). 0 or less
// when there is none; the catalogue shows its own messages on the way.
int chooseTemplate(templates::TemplateCatalog &catalog, int requested, int current);

// The reads and writes of the entry layout designer. Every write goes through
// the design history so that undo and redo reach it.
class EntryLayout
{
public:
    EntryLayout(QSqlDatabase db, DesignHistory &history);

    // The kind's fields in dictionary order with their places in the template.
    // An engine error gives an empty list and its message in `error`.
    QList<FieldControl> controls(int templateId, const QString &kind, QString *error = nullptr) const;
    // The kind's captions for the check list, by ShowOrd descending.
    QStringList captions(const QString &kind) const;
    // The field of a caption of the kind, empty when none.
    QString fieldOfCaption(const QString &kind, const QString &caption) const;

    // The first print item row of the field in the template.
    std::optional<EntryItem> item(int templateId, const QString &name) const;

    // Writes the control's entry layout into its print item: one row is
    // updated, none gets a row inserted with newType and newCaption, several
    // are refused. NeedPrint follows NeedShow. One save is one undo step.
    SaveOutcome save(int templateId, const QString &name, const EntrySave &values, const QString &newType,
                     const QString &newCaption);
    QString errorText() const { return m_error; }

    QString checkBoxes(int templateId) const;
    bool setCheckBoxes(int templateId, const QString &list);

private:
    QSqlDatabase m_db;
    DesignHistory &m_history;
    QString m_error;
};

} // namespace moque::design
