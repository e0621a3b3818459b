#pragma once
// Keys of goods records: random GUIDs printed as 36 upper-case hexadecimal characters, 8-4-4-4-12.
#include <QString>

QString LeftText(const QString& s, int n);  // the first n characters of s
QString RightText(const QString& s, int n); // the last n characters of s

// A new random GUID without braces; raises "生成GUID错误！" when none can be made.
QString NewGuidText();
