#pragma once

#include <QString>

namespace moque::templates {

// Marker values of a template row.
namespace marker {
inline const QString enabled = QStringLiteral("启用");
inline const QString hidden = QStringLiteral("停用隐藏");
inline const QString isDefault = QStringLiteral("默认");
inline const QString notDefault = QStringLiteral("0");
inline const QString common = QStringLiteral("是");
inline const QString notCommon = QStringLiteral("否");
} // namespace marker

// One template (a CKTypeTable row).
struct TemplateRow
{
    int id = 0;               // CheckTypeID
    QString fullName;         // TypeName: kind + "（" + display name + "）"
    QString kind;             // TypeFirstName
    QString displayName;      // TypeDescribe
    int xMove = 0;            // whole-template offset, 0.1 mm
    int yMove = 0;
    int screenHeight = 0;     // THeight, pixels
    int screenWidth = 0;      // TWidth, pixels
    int paperWidth = 0;       // PWidth, 0.1 mm; below 1 means 2300
    int paperHeight = 0;      // PHeight, 0.1 mm; below 1 means 1270
    int orientation = 0;      // HVPrint: 0 portrait, 1 landscape
    QString imageFile;        // ImgFile inside Image/
    QString visible;          // Visiable
    QString isDefault;        // IsDefault
    QString isCommon;         // IsCommon
    int showOrder = 0;
    QString checkBoxes;       // CheckBoxs
    QString iniFile;          // IniFile
    QString inputBgColor;
    QString inputFtColor;
    QString preImgUrl;

    int effectivePaperWidth() const { return paperWidth < 1 ? 2300 : paperWidth; }
    int effectivePaperHeight() const { return paperHeight < 1 ? 1270 : paperHeight; }
    bool landscape() const { return orientation == 1; }

    static QString makeFullName(const QString &kind, const QString &displayName)
    {
        return kind + QStringLiteral("（") + displayName + QStringLiteral("）");
    }
};

} // namespace moque::templates
