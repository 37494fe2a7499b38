#include "print/TextStyle.h"

namespace moque::print {

TextStyle TextStyle::of(const templates::PrintItem &item)
{
    TextStyle style;
    style.fontName = item.fontName;
    style.color = item.fontColor;
    style.fontSize = item.fontSize;
    style.bold = item.bold > 0;
    style.italic = item.italic > 0;
    style.underline = item.underline > 0;
    style.width = item.width;
    style.align = item.align.trimmed().toInt();
    style.fitParam = item.fitParam;
    return style;
}

} // namespace moque::print
