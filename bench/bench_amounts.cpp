// Converts one million amounts to Chinese capital amounts and reports the time.

#include "entry/Amounts.h"

#include <QElapsedTimer>
#include <QTextStream>

int main()
{
    constexpr int count = 1000000;
    QElapsedTimer t;
    t.start();
    qint64 characters = 0;
    // Amounts spread over every unit, zeros in the middle included.
    for (qint64 i = 0; i < count; ++i)
        characters += moque::entry::toChineseCapital((i * 7919 + 13) % 100000000000).text.size();
    const qint64 fromFen = t.restart();
    for (int i = 0; i < count; ++i)
        characters += moque::entry::toChineseCapital(QString::number(i * 37 % 10000000) + QStringLiteral(".05")).text.size();
    const qint64 fromText = t.elapsed();
    QTextStream(stdout) << count << " amounts to capital: " << fromFen << " ms from fen, " << fromText
                        << " ms from text (" << characters << " characters)" << Qt::endl;
    return 0;
}
