#include "store/DefaultData.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace moque::store {

QString DefaultData::builtInFolder()
{
    return QStringLiteral(":/data/tables");
}

QStringList DefaultData::splitLine(const QString &line)
{
    QStringList values;
    QString current;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\t')) {
            values << current;
            current.clear();
        } else if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            const QChar e = line[++i];
            if (e == QLatin1Char('t'))
                current += QLatin1Char('\t');
            else if (e == QLatin1Char('n'))
                current += QLatin1Char('\n');
            else
                current += e;
        } else {
            current += c;
        }
    }
    values << current;
    return values;
}

namespace {

QString loadFile(QSqlDatabase db, const QFileInfo &file)
{
    const QString tableName = file.completeBaseName();
    const TableDef *table = findTable(dataFileTables(), tableName);
    if (!table)
        return QStringLiteral("%1: no such table").arg(file.fileName());
    QFile f(file.filePath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("%1: %2").arg(file.fileName(), f.errorString());
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));

    QStringList columns;
    QList<bool> textColumns;
    QSqlQuery insert(db);
    int lineNo = 0;
    for (QString line : lines) {
        ++lineNo;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList values = DefaultData::splitLine(line);
        if (columns.isEmpty()) {
            for (const QString &c : values) {
                const auto def = std::find_if(table->columns.cbegin(), table->columns.cend(), [&](const ColumnDef &d) {
                    return d.name.compare(c, Qt::CaseInsensitive) == 0;
                });
                if (def == table->columns.cend())
                    return QStringLiteral("%1: unknown column %2").arg(file.fileName(), c);
                textColumns << (def->kind == ColumnKind::Text || def->kind == ColumnKind::Memo
                                || def->kind == ColumnKind::Date);
            }
            columns = values;
            QStringList quoted;
            for (const QString &c : columns)
                quoted << QLatin1Char('"') + c + QLatin1Char('"');
            const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                    .arg(table->name, quoted.join(QLatin1Char(',')),
                                         QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
            if (!insert.prepare(sql))
                return QStringLiteral("%1: %2").arg(file.fileName(), insert.lastError().text());
            continue;
        }
        if (values.size() != columns.size())
            return QStringLiteral("%1:%2: %3 values for %4 columns")
                .arg(file.fileName())
                .arg(lineNo)
                .arg(values.size())
                .arg(columns.size());
        // An empty value is empty text in a text column (a null text would be
        // bound as NULL) and NULL in a number column.
        for (int i = 0; i < values.size(); ++i) {
            if (!values[i].isEmpty())
                insert.bindValue(i, values[i]);
            else if (textColumns[i])
                insert.bindValue(i, QStringLiteral(""));
            else
                insert.bindValue(i, QVariant());
        }
        if (!insert.exec())
            return QStringLiteral("%1:%2: %3").arg(file.fileName()).arg(lineNo).arg(insert.lastError().text());
    }
    return {};
}

} // namespace

QString DefaultData::load(QSqlDatabase db, const QString &folder)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString error = loadFile(db, file);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace moque::store
