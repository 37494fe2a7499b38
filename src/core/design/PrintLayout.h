#pragma once

#include "design/DesignHistory.h"
#include "print/ValueSource.h"
#include "templates/PrintItem.h"
#include "templates/TemplateRow.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::design {

// One print item as the print layout designer shows it: the ckControl row
// with its dictionary's test text and label.
struct DesignItem : templates::PrintItem
{
    // The name stays as stored (not upper case): the designer's writes find the row by it.
    int dictionaryId = 0;  // NameDict.ID
    QString testText;      // NameDict.CtlData
    QString label;         // NameDict.CtlLabel
};

// One drawn label of an item, in canvas pixels from the page's top-left corner.
struct LayoutLabel
{
    QString name;          // CtlName, + "L" + line, + "R" + character
    QString itemName;      // the item's CtlName
    QString text;
    QRect rect;
    QString fontName;
    int pixelSize = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int align = 0;         // 0 left, 1 centre, 2 right
};

// The page on the screen: its size in pixels and millimetres per pixel.
struct CanvasScale
{
    QSize size;
    double ratioX = 0;
    double ratioY = 0;
};

// What the property panel shows of one item.
struct ItemProperties
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QString fontName;
    int fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool breakOn = false;
    int breakNum = 50;
    int breakFontSize = 9;
    int lineHeight = 50;
    bool widthAveOn = false;
    int fitParam = 20;
    QString testText;
    QString defaultValue;
    int align = 0;
};

// The range a property control allows; the page height bounds CtlY.
struct ColumnRange
{
    int min = 0;
    int max = 0;
};

// A batch operation on the selected items.
enum class BatchOp {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    SameWidthMax,
    SameHeightMax,
    SameWidthMin,
    SameHeightMin,
    Widen,
    Narrow,
    Heighten,
    Lower,
};

enum class MoveDirection { Up, Down, Left, Right };

// The outcome of a write: whether the data changed and what the status bar shows.
struct DesignResult
{
    bool ok = false;
    int changed = 0;
    QStringList messages;
    QString message() const { return messages.join(QLatin1Char(' ')); }
};

// Everything the print layout designer decides, without windows: the
// template's page and items, the labels drawn for them, and every write to
// ckControl, NameDict and CKTypeTable, each recorded in the session's history
// so that it can be undone.
class PrintLayout
{
public:
    PrintLayout(QSqlDatabase db, DesignHistory &history);

    // Reads the template; false with "没有找到对应的单据信息~" when there is none.
    bool open(int templateId);
    QString errorText() const { return m_error; }

    int templateId() const { return m_template.id; }
    const templates::TemplateRow &templateRow() const { return m_template; }
    QString kind() const { return m_template.kind; }
    QString title() const;
    // The bill kind and the page size, for the status bar's first panel.
    QString pageText() const;
    int pageWidth() const { return m_template.effectivePaperWidth(); }
    int pageHeight() const { return m_template.effectivePaperHeight(); }
    QString imageFile() const { return m_template.imageFile; }

    // The page at the zoom (percent): 96 pixels an inch at 100 %.
    static CanvasScale scaleFor(int pageWidthTenths, int pageHeightTenths, int zoomPercent);
    CanvasScale scale(int zoomPercent) const { return scaleFor(pageWidth(), pageHeight(), zoomPercent); }
    // The zoom a text asks for; anything but a positive number is 100.
    static int zoomOf(const QString &text);

    // "可用的:" list: CtlCName + "=" + CtlName, by ShowOrd descending.
    QStringList availableEntries();
    static QString nameOfEntry(const QString &entry);
    // "选中的:" list entry of an item: its label (or "错误") + "=" + name.
    QString selectedEntry(const QString &name);

    // The printable items drawn on the canvas. Items whose CtlW or CtlH is 0
    // take their entry control's size, converted at the X ratio, and keep it
    // (written back, not as a step of the history: the next drawing would
    // write it again).
    QList<DesignItem> items(double ratioX);
    std::optional<DesignItem> item(const QString &name, double ratioX);

    // The labels of one item: the pitch for lines when CtlLH is not positive
    // is 45 for the whole drawing and 50 when one item is redrawn.
    static QList<LayoutLabel> labelsOf(const DesignItem &item, double ratioX, int fallbackPitch = 45);
    static QString shownText(const DesignItem &item);
    static ItemProperties propertiesOf(const DesignItem &item, double ratioX);

    // Distinct Groups of the kind's dictionary, then the hint "请选择分组".
    QStringList groups();
    static QString groupHint();
    // The printable item names of a group, or of a label pattern when the text holds "*".
    QStringList groupItems(const QString &text);

    // The range of a property column, nothing for columns without one.
    std::optional<ColumnRange> rangeOf(const QString &column) const;
    // The single-column save: one row writes when its text differs; two rows refuse.
    DesignResult saveColumn(const QString &name, const QString &column, const QVariant &value);
    // Several columns of one item as one step ("【保存项目设置】", the end of a drag).
    DesignResult saveColumns(const QString &name, const QList<std::pair<QString, QVariant>> &values,
                             const QString &text);

    // Moves every named item by the step.
    DesignResult move(const QStringList &names, MoveDirection direction, int step);
    DesignResult batch(const QStringList &names, BatchOp op, int step);
    DesignResult setFontSize(const QStringList &names, int size);
    DesignResult setFontName(const QStringList &names, const QString &fontName);
    // Item k of the selection gets the first item's CtlX (or CtlY) + k × increment.
    DesignResult distribute(const QStringList &names, bool horizontal, int increment);

    // "更新测试": the dictionary's test text of the item.
    DesignResult updateTestText(const QString &name, const QString &text);
    // "【保存票据设置】": centimetres as typed.
    DesignResult savePaperSize(const QString &widthCm, const QString &heightCm);

    // The test texts printed by "打印测试": CtlData, else CtlLabel, of every printable field.
    print::MapValueSource testValues();

private:
    struct Row
    {
        int id = 0;
        QVariant value;
    };
    struct ItemValue
    {
        int id = 0;
        QVariant value;
    };
    bool rowsOf(const QString &name, const QString &column, QList<Row> &rows, QString &error);
    // The item's one row for the column; none, with the message why, when it
    // has none or several or the engine failed.
    std::optional<Row> singleRow(const QString &name, const QString &column, QStringList &messages);
    // Why the value is outside the column's range, or empty.
    QString rangeFault(const QString &column, const QVariant &value) const;
    RowKey itemKey(int id) const;
    // Every printable item, or only the one named.
    QList<DesignItem> readItems(const QString *only, double ratioX);
    // Runs the writes as one transaction and one step of the history.
    template<typename Fn>
    bool inGroup(const QString &text, Fn &&writes, QString &error);
    // Writes the column of each item as one transaction and one step of the history.
    bool writeItems(const QString &text, const QString &column, const QList<ItemValue> &changes, QString &error);
    bool writeItems(const QString &text, const QString &column, const QList<int> &ids, const QVariant &value,
                    QString &error);
    DesignResult setAll(const QStringList &names, const QString &column, const QVariant &value,
                        const QString &text);

    QSqlDatabase m_db;
    DesignHistory &m_history;
    templates::TemplateRow m_template;
    QString m_error;
};

// The selection of the designer: single or multiple mode, names in the order
// they were selected.
class LayoutSelection
{
public:
    bool multiple() const { return m_multiple; }
    void setMultiple(bool multiple);
    const QStringList &names() const { return m_names; }
    bool contains(const QString &name) const { return m_names.contains(name); }
    int size() const { return int(m_names.size()); }

    // A left click on a label: single mode empties the selection first; a
    // selected item is deselected, another one selected.
    void click(const QString &name);
    // A double click on a label or a list entry: single mode selects only it,
    // multiple mode (labels) starts again from it.
    void doubleClickLabel(const QString &name);
    void doubleClickEntry(const QString &name);
    void add(const QString &name);
    void clear() { m_names.clear(); }
    // "全选" and "反选" over every item.
    void selectAll(const QStringList &all);
    void invert(const QStringList &all);
    void selectGroup(const QStringList &names);

private:
    bool m_multiple = false;
    QStringList m_names;
};

} // namespace moque::design
