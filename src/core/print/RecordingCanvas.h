#pragma once

#include "print/Canvas.h"

#include <QList>
#include <QStringList>

namespace moque::print {

// A canvas that keeps every drawing call: the golden record of a print, and
// what tests compare exact device coordinates with. Text is measured as
// `charWidth` device units a character (twice that for a full-width one).
class RecordingCanvas : public Canvas
{
public:
    struct Call
    {
        enum class Kind { Text, Line } kind = Kind::Text;
        int x = 0;
        int y = 0;
        int x2 = 0;
        int y2 = 0;
        int penWidth = 0;
        QString text;
        CanvasFont font;
    };

    explicit RecordingCanvas(const DeviceFacts &facts = {}, int charWidth = 10)
        : m_facts(facts)
        , m_charWidth(charWidth)
    {
    }

    DeviceFacts facts() const override { return m_facts; }
    void setFont(const CanvasFont &font) override { m_font = font; }
    int textWidth(const QString &text) override;
    void drawText(int x, int y, const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;

    QList<Call> calls;
    QList<Call> texts() const;
    // One line a call, readable and stable: a golden file of a print.
    QStringList describe() const;

private:
    DeviceFacts m_facts;
    int m_charWidth;
    CanvasFont m_font;
};

} // namespace moque::print
