#include "app/FontSetup.h"

#include <QFont>
#include <QStringList>

namespace moque::app {

void installFontSubstitutions()
{
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const struct
    {
        const char16_t *face;
        QStringList substitutes;
    } map[] = {
        {u"宋体", {serif}},
        {u"SimSun", {serif}},
        {u"新宋体", {serif}},
        {u"NSimSun", {serif}},
        {u"仿宋", {serif}},
        {u"仿宋_GB2312", {serif}},
        {u"FangSong", {serif}},
        {u"楷体", {serif}},
        {u"楷体_GB2312", {serif}},
        {u"KaiTi", {serif}},
        {u"黑体", {sans}},
        {u"SimHei", {sans}},
        {u"微软雅黑", {sans}},
        {u"Microsoft YaHei", {sans}},
        {u"Arial", {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), sans}},
        {u"Times New Roman", {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"), serif}},
        {u"Courier New", {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}},
    };
    for (const auto &m : map)
        QFont::insertSubstitutions(QString::fromUtf16(m.face), m.substitutes);
}

} // namespace moque::app
