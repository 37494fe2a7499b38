#include "settings/Options.h"

#include <QSqlQuery>
#include <QVariant>

namespace moque::settings {

QString Options::getConfigByname(const QString &name) const
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("Select cvalue From configtable Where ltrim(rtrim(cname))=:pname"));
    q.bindValue(QStringLiteral(":pname"), name.trimmed());
    if (!q.exec() || !q.next())
        return {};
    return q.value(0).toString();
}

bool Options::setConfigByname(const QString &name, const QString &value)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("update configtable set cvalue=:pvalue Where ltrim(rtrim(cname))=:pname"));
    q.bindValue(QStringLiteral(":pvalue"), value);
    q.bindValue(QStringLiteral(":pname"), name.trimmed());
    if (!q.exec())
        return false;
    if (q.numRowsAffected() > 0)
        return true;
    QSqlQuery insert(m_db);
    insert.prepare(QStringLiteral("insert into configtable (cvalue,cname) values(:pvalue,:pname)"));
    insert.bindValue(QStringLiteral(":pvalue"), value);
    insert.bindValue(QStringLiteral(":pname"), name.trimmed());
    return insert.exec();
}

bool Options::isOnValue(const QString &value)
{
    return value == QLatin1String("yes") || value == QLatin1String("1");
}

SysParams SysParams::load(const Options &options)
{
    SysParams p;
    p.loginRequired = options.isOn(option::loginRequired);
    p.popPrinterSetup = options.isOn(option::popPrinterSetup);
    p.useDefaultIssuer = options.isOn(option::useDefaultIssuer);
    p.systemBackground = options.isOn(option::systemBackground);
    return p;
}

} // namespace moque::settings
