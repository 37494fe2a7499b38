#include "history/InvoiceNumbers.h"

#include "store/Store.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace moque::history {

namespace {

void fail(RegistrationReport &report, const QString &error)
{
    report.registered = 0;
    report.error = error.isEmpty() ? QStringLiteral("unknown error") : error;
}

} // namespace

QString numberText(qint64 n, int digits)
{
    const int count = qMax(1, digits);
    const QString text = QString::number(n);
    if (text.size() >= count)
        return text.right(count);
    return QString(count - text.size(), QLatin1Char('0')) + text;
}

RegistrationReport registerNumbers(QSqlDatabase db, const NumberRange &range,
                                   const std::function<void(const QString &)> &progress)
{
    RegistrationReport report;
    if (range.last < range.first)
        return report;
    // No code is the empty code, never null: null would match no registered number.
    const QString code = range.code.isNull() ? QStringLiteral("") : range.code;
    if (!db.transaction()) {
        fail(report, db.lastError().text());
        return report;
    }

    // The numbers the code already has, read once: a look-up per number would read the table each time.
    QSet<QString> taken;
    QSqlQuery existing(db);
    existing.prepare(QStringLiteral("SELECT 发票编号 FROM DataCKSPTable WHERE 发票代码 = ?"));
    existing.bindValue(0, code);
    if (!existing.exec()) {
        fail(report, existing.lastError().text());
        db.rollback();
        return report;
    }
    while (existing.next())
        taken.insert(existing.value(0).toString());

    QSqlQuery insert(db);
    if (!insert.prepare(QStringLiteral("INSERT INTO DataCKSPTable(模板种类, 发票代码, 发票编号, 票据状态) "
                                       "VALUES(?, ?, ?, ?)"))) {
        fail(report, insert.lastError().text());
        db.rollback();
        return report;
    }
    for (qint64 n = range.first; n <= range.last; ++n) {
        const QString number = numberText(n, range.digits);
        if (progress)
            progress(number);
        if (taken.contains(number)) {
            if (report.duplicates < RegistrationReport::namedDuplicates)
                report.firstDuplicates << number;
            ++report.duplicates;
        } else {
            insert.bindValue(0, range.templateName);
            insert.bindValue(1, code);
            insert.bindValue(2, number);
            insert.bindValue(3, QStringLiteral("未用"));
            if (!insert.exec()) {
                report.failedNumber = number;
                fail(report, insert.lastError().text());
                db.rollback();
                return report;
            }
            taken.insert(number);
            ++report.registered;
        }
        if (n == range.last) // n + 1 would overflow at the largest number
            break;
    }
    if (!db.commit()) {
        fail(report, db.lastError().text());
        db.rollback();
    }
    return report;
}

QString duplicateText(const QString &number)
{
    return number + QStringLiteral("编号票据已经存在了，跳过登记了！");
}

int voidInvoices(QSqlDatabase db, InvoiceKind kind, const QVariantList &keys, QString *error)
{
    if (keys.isEmpty())
        return 0;
    const InvoiceQuery query(kind);
    const auto failed = [&](const QString &message) {
        if (error)
            *error = message;
        db.rollback();
        return -1;
    };
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return -1;
    }
    int voided = 0;
    // Bound in slices: SQLite limits the number of parameters of one statement.
    constexpr int slice = 500;
    for (int start = 0; start < keys.size(); start += slice) {
        const int n = qMin(slice, int(keys.size()) - start);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE ") + store::quoteIdentifier(query.table()) + QStringLiteral(" SET ")
                  + store::quoteIdentifier(InvoiceQuery::stateColumn()) + QStringLiteral(" = ? WHERE ")
                  + store::quoteIdentifier(InvoiceQuery::keyColumn()) + QStringLiteral(" IN (")
                  + QStringList(n, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')'));
        q.bindValue(0, QStringLiteral("作废"));
        for (int i = 0; i < n; ++i)
            q.bindValue(i + 1, keys[start + i]);
        if (!q.exec())
            return failed(q.lastError().text());
        voided += q.numRowsAffected();
    }
    if (!db.commit())
        return failed(db.lastError().text());
    return voided;
}

QString voidReport(int voided)
{
    return QStringLiteral("成功作废") + QString::number(voided) + QStringLiteral("条记录！");
}

} // namespace moque::history
