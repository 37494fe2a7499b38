#include "design/TestTexts.h"

#include "store/BoundQuery.h"

#include <QSqlQuery>

namespace moque::design {

QList<TestTexts::Row> TestTexts::rows(const QString &kind)
{
    QList<Row> list;
    QSqlQuery q(m_db);
    if (!store::execBound(q,
                          QStringLiteral("select ID,CtlName,CtlLabel,CtlData from NameDict where CheckTypeName=? "
                                         "order by ShowOrd desc"),
                          QVariantList{kind}, m_error))
        return list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
    return list;
}

bool TestTexts::setText(int dictionaryId, const QString &text)
{
    QSqlQuery q(m_db);
    return store::execBound(q, QStringLiteral("update NameDict set CtlData=? where ID=?"),
                            QVariantList{text, dictionaryId}, m_error);
}

} // namespace moque::design
