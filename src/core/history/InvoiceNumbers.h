#pragma once

#include "history/InvoiceQuery.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace moque::history {

// A range of pre-numbered export invoices received ("领用联号票据").
struct NumberRange
{
    QString templateName; // written into 模板种类
    QString code;         // 发票代码, as typed
    qint64 first = 0;
    qint64 last = -1;     // included; a range with last < first is empty
    int digits = 8;       // every number text has this many digits
};

// The number text of n: its decimal digits left-padded with zeros to the
// digit count, or only its last digits when longer. A count below 1 counts as 1.
QString numberText(qint64 n, int digits);

// What registering a range did.
struct RegistrationReport
{
    // Duplicates beyond these many are skipped without being named.
    static constexpr int namedDuplicates = 4;

    int registered = 0;
    int duplicates = 0;
    QStringList firstDuplicates; // number texts of the first duplicates, in order
    QString failedNumber;        // the number whose insert failed, if one did
    QString error;               // the engine's message; empty on success

    bool ok() const { return error.isEmpty(); }
};

// Registers the numbers of the range in ascending order as rows of
// DataCKSPTable in state "未用". A number whose code and number text are
// already in the table (or came earlier in the range) is skipped and counted.
// All rows go in one transaction: on any failure nothing is registered.
// `progress` hears each number text before it is looked at.
RegistrationReport registerNumbers(QSqlDatabase db, const NumberRange &range,
                                   const std::function<void(const QString &)> &progress = {});

// t + "编号票据已经存在了，跳过登记了！".
QString duplicateText(const QString &number);

// Marks the rows with these 流水号 of the kind's table "作废", in one
// transaction. The number of rows changed; -1 with the engine's message.
int voidInvoices(QSqlDatabase db, InvoiceKind kind, const QVariantList &keys, QString *error = nullptr);

// "成功作废" + n + "条记录！".
QString voidReport(int voided);

} // namespace moque::history
