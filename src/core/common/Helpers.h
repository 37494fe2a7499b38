#pragma once

#include <QString>
#include <QStringList>

namespace moque {

// True when the trimmed text is not empty and every character is a digit 0-9.
bool isDigitsOnly(const QString &text);
// True when the trimmed text is not empty and every character is 0-9 or ".".
bool isDecimalText(const QString &text);

// Copies every byte of source to target, replacing the target. False with the
// reason in *error when it fails.
bool copyWholeFile(const QString &source, const QString &target, QString *error = nullptr);

// Names of the plain files of a folder that match the pattern (e.g. "*.ini"),
// without the folder; empty for an empty or missing folder.
QStringList listFiles(const QString &directory, const QString &pattern);

// Puts `length` characters picked at random from the alphabet in front of the
// text; upper-cases the result when asked. An empty alphabet changes nothing.
QString buildRadomStr(int length, bool upper, const QString &alphabet, const QString &text = {});

// Bytes of the text in the GBK code page: a Chinese character counts 2.
int gbkLength(const QString &text);
QByteArray toGbk(const QString &text);

} // namespace moque
