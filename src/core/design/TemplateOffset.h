#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace moque::design {

// What the whole-template offset window edits of one template.
struct WholeTemplateSettings
{
    int xMove = 0;            // 0.1 mm to the right
    int yMove = 0;            // 0.1 mm downwards
    int screenWidth = 780;    // pixels of the entry picture
    int screenHeight = 420;
    int paperWidth = 2300;    // 0.1 mm
    int paperHeight = 1270;
    bool landscape = false;

    bool operator==(const WholeTemplateSettings &) const = default;
};

// The ranges the window's boxes allow.
namespace offsetRange {
inline constexpr int moveMin = -3000, moveMax = 3000;
inline constexpr int screenWidthMin = 300, screenWidthMax = 1200;
inline constexpr int screenHeightMin = 200, screenHeightMax = 900;
inline constexpr int paperWidthMin = 300, paperWidthMax = 3000;
inline constexpr int paperHeightMin = 200, paperHeightMax = 3000;
} // namespace offsetRange

// Reads and writes a template's offset, orientation, screen and paper size.
class TemplateOffset
{
public:
    struct Entry
    {
        QString name; // TypeName
        int id = 0;
    };
    enum class Outcome { Changed, Unchanged, Failed };

    explicit TemplateOffset(QSqlDatabase db) : m_db(db) {}

    // The enabled templates by full name; blank names are skipped.
    QList<Entry> enabledTemplates();
    // The template of that full name with its settings; none without a row.
    std::optional<std::pair<int, WholeTemplateSettings>> load(const QString &fullName);
    std::optional<WholeTemplateSettings> load(int templateId);

    // Writes every value; values outside the window's ranges, or an offset
    // that moves the print off the paper, are refused with rangeFault's text.
    Outcome save(int templateId, const WholeTemplateSettings &settings);
    // The preview's save: the two offsets only.
    Outcome saveOffset(int templateId, int xMove, int yMove);
    QString errorText() const { return m_error; }

    // Why the values cannot be stored, or empty.
    static QString rangeFault(const WholeTemplateSettings &settings);
    // "票据整体属性修改成功！", "票据整体属性没有变动！", "票据整体属性量修改出错！".
    static QString outcomeText(Outcome outcome);
    // "=" + centimetres + "厘米"; an offset shows its size, without sign.
    static QString centimetres(int tenths);
    // One click of an arrow: X "up" moves right, Y "up" moves the print up.
    static int xStep(bool up) { return up ? 10 : -10; }
    static int yStep(bool up) { return up ? -10 : 10; }

    // The offset window's message for an id that is not listed.
    static QString notFoundText(int templateId);

private:
    Outcome update(int templateId, const QString &sql, const QVariantList &values, bool changed);

    QSqlDatabase m_db;
    QString m_error;
};

} // namespace moque::design
