#include "design/PrinterCalibration.h"

#include "store/BoundQuery.h"

#include <QSqlQuery>

namespace moque::design {

namespace {
// The model list and the presets: section names ignore letter case, so
// "PrinterWeKnow" and "printerweknow" are one section.
const QString presetSection = QStringLiteral("PrinterWeKnow");
const QString useSection = QStringLiteral("printeruse");
const QString printersKey = QStringLiteral("printers");
const QString portrait = QStringLiteral("纵向");
const QString landscape = QStringLiteral("横向");
} // namespace

QStringList PrinterCalibration::knownModels() const
{
    QStringList models;
    for (const QString &m : m_ini.value(presetSection, printersKey).split(QLatin1Char(',')))
        if (!m.trimmed().isEmpty())
            models << m.trimmed();
    return models.isEmpty() ? QStringList{noPresets} : models;
}

CalibrationPreset PrinterCalibration::preset(const QString &model) const
{
    const QString prefix = QStringLiteral("default.") + model;
    const auto read = [&](const char *suffix) { return m_ini.value(presetSection, prefix + QLatin1String(suffix)); };
    return {read(".x"), read(".y"), read(".board"), read(".d"), read(".img")};
}

UserCalibration PrinterCalibration::userCalibration() const
{
    UserCalibration use;
    use.model = m_ini.value(useSection, printersKey).trimmed();
    if (use.model.isEmpty())
        return use;
    const auto read = [&](const char *suffix) { return m_ini.value(useSection, use.model + QLatin1String(suffix)); };
    use.printerName = read(".PrinterName");
    use.x = read(".x");
    use.y = read(".y");
    use.direction = read(".d");
    use.board = read(".board");
    return use;
}

bool PrinterCalibration::applyToAllTemplates(int xMove, int yMove, const QString &direction, QString &message)
{
    if (direction.trimmed().isEmpty()) {
        message = QStringLiteral("请选择打印方向！");
        return false;
    }
    if (direction != landscape && direction != portrait) {
        message = QStringLiteral("非法的打印方向参数！");
        return false;
    }
    const QString failed = QStringLiteral("应用单据失败！！");
    // All templates change or none.
    if (!m_db.transaction()) {
        message = failed;
        return false;
    }
    QSqlQuery q(m_db);
    const bool ok = store::execBound(q, QStringLiteral("update CKTypeTable set XMove=:xmove,YMove=:ymove,HVPrint=:hv"),
                                     {{":xmove", xMove},
                                      {":ymove", yMove},
                                      {":hv", direction == landscape ? QStringLiteral("1") : QStringLiteral("0")}});
    if (!ok || q.numRowsAffected() < 1 || !m_db.commit()) {
        m_db.rollback();
        message = failed;
        return false;
    }
    message = QStringLiteral("应用单据成功！");
    return true;
}

bool PrinterCalibration::storeUserCalibration(const UserCalibration &use, QString &message)
{
    if (use.model.trimmed().isEmpty()) {
        message = QStringLiteral("请输入适配打印机类型名！");
        return false;
    }
    if (use.printerName.trimmed().isEmpty()) {
        message = QStringLiteral("请选择你的票据打印机！");
        return false;
    }
    const QString model = use.model.trimmed();
    m_ini.setValue(useSection, printersKey, model);
    m_ini.setValue(useSection, model + QStringLiteral(".PrinterName"), use.printerName);
    m_ini.setValue(useSection, model + QStringLiteral(".x"), use.x);
    m_ini.setValue(useSection, model + QStringLiteral(".y"), use.y);
    m_ini.setValue(useSection, model + QStringLiteral(".d"), use.direction);
    m_ini.setValue(useSection, model + QStringLiteral(".board"), use.board);
    if (!m_ini.flush()) {
        message = QStringLiteral("设置文件无法写入：") + m_ini.path();
        return false;
    }
    message = QStringLiteral("配置修改成功！");
    return true;
}

} // namespace moque::design
