#pragma once

// Templates, print items and dictionaries made by the tests themselves, in
// the test's own data directory, apart from any templates of the default data.

#include "support/TestData.h"
#include "templates/TemplateRow.h"

#include <QTest>

namespace moque::test {

// The kind every fixture template belongs to; the default data has no such kind.
inline const QString testKind = QStringLiteral("测试单");

// Opens a fresh data directory with no templates, print items or template options.
inline bool openWithoutTemplates(TestData &data)
{
    return data.open() && data.exec(QStringLiteral("delete from CKTypeTable"))
           && data.exec(QStringLiteral("delete from ckControl"))
           && data.exec(QStringLiteral("delete from DMTable where CheckTypeId<>0"));
}

struct TemplateSpec
{
    int id = 1000;
    QString kind = testKind;
    QString name;
    QString visible = templates::marker::enabled;
    QString isDefault = templates::marker::notDefault;
    QString isCommon = templates::marker::notCommon;
};

inline bool addTemplate(const TestData &data, const TemplateSpec &t)
{
    return data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,"
                                    "Visiable,IsDefault,IsCommon) values (?,?,?,?,?,?,?)"),
                     {t.id, templates::TemplateRow::makeFullName(t.kind, t.name), t.kind, t.name, t.visible,
                      t.isDefault, t.isCommon});
}

// A print item with its screen place; other columns keep their defaults.
struct ItemSpec
{
    int templateId = 1000;
    QString name;
    QVariant srcX = 10;
    QVariant srcY = 10;
    QVariant srcW = 50;
    QVariant srcH = 20;
    QVariant needShow = 1;
    QVariant initValue = QString();
    QVariant ctlX = 0;
};

inline bool addItem(const TestData &data, const ItemSpec &i)
{
    return data.exec(QStringLiteral("insert into ckControl (CheckTypeID,CtlName,SrcX,SrcY,SrcW,SrcH,NeedShow,"
                                    "InitValue,CtlX) values (?,?,?,?,?,?,?,?,?)"),
                     {i.templateId, i.name, i.srcX, i.srcY, i.srcW, i.srcH, i.needShow, i.initValue, i.ctlX});
}

inline bool addField(const TestData &data, const QString &name, int showOrder = 0, int printItem = 1,
                     const QString &kind = testKind, const QString &type = QStringLiteral("TEXT"))
{
    return data.exec(QStringLiteral("insert into NameDict (CheckTypeName,CtlName,CtlLabel,PrintItem,ShowOrd,CtlType) "
                                    "values (?,?,?,?,?,?)"),
                     {kind, name, name + QStringLiteral("标签"), printItem, showOrder, type});
}

} // namespace moque::test
