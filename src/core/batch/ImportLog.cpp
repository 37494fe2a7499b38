#include "batch/ImportLog.h"

#include "store/DataDirectory.h"

#include <QFile>
#include <QSaveFile>

namespace moque::batch {

namespace {

const QStringList kSections{QStringLiteral("LOG"), QStringLiteral("ERR"), QStringLiteral("INFO")};

// A line break inside a value would start a new entry.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QString ImportLog::pathIn(const store::DataDirectory &dir)
{
    return dir.root() + QStringLiteral("ImportLog.txt");
}

void ImportLog::info(const QString &key, const QString &text)
{
    for (auto &entry : m_info) {
        if (entry.first == key) {
            entry.second = text;
            return;
        }
    }
    m_info.append({key, text});
}

bool ImportLog::save(QString *error) const
{
    // The sections this log does not own, as they were.
    QStringList kept;
    bool skipping = false;
    for (const QString &line : readLines(m_path)) {
        const QString section = sectionOf(line);
        if (!section.isEmpty())
            skipping = kSections.contains(section, Qt::CaseInsensitive);
        if (!skipping)
            kept << line;
    }
    QByteArray bytes;
    for (const QString &line : std::as_const(kept))
        bytes += line.toUtf8() + '\n';
    const QList<const Entries *> sections{&m_log, &m_err, &m_info};
    for (int i = 0; i < kSections.size(); ++i) {
        bytes += '[' + kSections.at(i).toUtf8() + "]\n";
        for (const auto &entry : *sections.at(i))
            bytes += entry.first.toUtf8() + '=' + oneLine(entry.second).toUtf8() + '\n';
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

ImportLog::Entries ImportLog::readSection(const QString &path, const QString &section)
{
    Entries entries;
    bool inside = false;
    for (const QString &line : readLines(path)) {
        const QString name = sectionOf(line);
        if (!name.isEmpty()) {
            inside = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inside && eq > 0)
            entries.append({line.left(eq).trimmed(), line.mid(eq + 1)});
    }
    return entries;
}

} // namespace moque::batch
