#pragma once

#include "templates/PrintItem.h"

#include <QString>

namespace moque::print {

// How one print item's text is drawn: its font, the box it is aligned in and
// the equal advance FitParam asks for.
struct TextStyle
{
    QString fontName; // empty means 宋体
    QString color;    // decimal 0x00BBGGRR
    int fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int width = 0; // 0.1 mm
    int align = 0; // 1 centred, 2 right-aligned in width, else left
    QString fitParam;

    static TextStyle of(const templates::PrintItem &item);
};

} // namespace moque::print
