#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace moque::templates {

// One print item of a template (a ckControl row): where and how one field is
// printed on the paper form (0.1 mm) and where its input control sits on the
// entry window's picture (pixels).
struct PrintItem
{
    int id = 0;
    int templateId = 0;
    QString name;        // field name, upper case
    QString caption;     // CtlCName
    QString type = QStringLiteral("TEXT");
    int x = 0;           // CtlX
    int y = 0;           // CtlY
    int width = 0;       // CtlW
    int height = 0;      // CtlH
    int lineHeight = 0;  // CtlLH; below 1 means 50
    int screenX = 10;    // SrcX
    int screenY = 10;    // SrcY
    int screenW = 50;    // SrcW
    int screenH = 20;    // SrcH
    int needPrint = 1;
    int needShow = 1;
    QString fontName;    // empty means 宋体
    int fontSize = 9;
    QString fontColor;   // decimal 0x00BBGGRR
    int breakFontSize = 7;
    int bold = 0;
    int italic = 0;
    int underline = 0;
    QString fitParam;
    QString align;
    QString breakNum;
    QString initValue;
    int showOrder = 0;
};

// One field of a bill kind's dictionary (a NameDict row).
struct DictionaryField
{
    int id = 0;
    QString kind;        // CheckTypeName
    QString name;        // CtlName, upper case
    QString label;       // CtlLabel
    QString testData;    // CtlData
    int printItem = 1;
    int showOrder = 0;
    QString type = QStringLiteral("TEXT");
    QString group;
};

// The print items of one template, looked up by field name without regard to case.
class PrintItemSet
{
public:
    void add(const PrintItem &item) { m_items.insert(item.name.toUpper(), item); }
    const PrintItem *find(const QString &name) const
    {
        auto it = m_items.constFind(name.toUpper());
        return it == m_items.constEnd() ? nullptr : &it.value();
    }
    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    QList<PrintItem> items() const { return m_items.values(); }

private:
    QHash<QString, PrintItem> m_items;
};

} // namespace moque::templates
