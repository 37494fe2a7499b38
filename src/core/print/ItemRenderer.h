#pragma once

#include "print/Canvas.h"
#include "print/TextStyle.h"
#include "templates/PrintItem.h"

#include <QStringList>

namespace moque {
class Dialogs;
}

namespace moque::print {

// Draws one print item's value onto a canvas: offsets, line splitting and
// breaking, font choice, equal-width spacing, alignment and lines.
class ItemRenderer
{
public:
    ItemRenderer(Canvas &canvas, Dialogs *dialogs);

    // The currency code of the bill being printed and the width of one amount
    // digit box (0.1 mm): a one-line value equal to the code moves into the
    // currency box in front of the digits.
    void setMoneyCode(const QString &code) { m_moneyCode = code; }
    void setMoneyCellWidth(int width) { m_moneyCellWidth = width; }

    // Renders the value of the item shifted by the whole-template offset. A
    // missing item or an empty value draws nothing. False when an error was
    // reported ("打印" + name + "出现错误！").
    bool printCheckItem(const templates::PrintItem *item, int xMove, int yMove, const QString &value,
                        const QString &delimiter);

    // One line, spread at equal advance when FitParam asks for it. False with
    // a FitParam that is not a whole number.
    bool printTextItem(int x, int y, const QString &line, const TextStyle &style);
    void printTextAt(int x, int y, const QString &text, const TextStyle &style);
    void printLineAt(int x, int y, int height, int width, bool bold);

    static QStringList splitByDelimiter(const QString &text, const QString &delimiter);
    static QStringList breakByWidth(const QString &text, int charsPerLine);
    // The platform colour number 0x00BBGGRR as a colour; black when it is not a number.
    static QColor colorFromText(const QString &text);
    // Removes leading and trailing characters with codes up to 32.
    static QString trimControl(const QString &text);

private:
    Canvas &m_canvas;
    Dialogs *m_dialogs;
    QString m_moneyCode;
    int m_moneyCellWidth = 0;
};

} // namespace moque::print
