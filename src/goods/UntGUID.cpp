#include "goods/UntGUID.h"

#include "common/UException.h"

#include <QUuid>

QString LeftText(const QString& s, int n) {
    return n <= 0 ? QString() : s.left(n);
}

QString RightText(const QString& s, int n) {
    return n <= 0 ? QString() : s.right(n);
}

QString NewGuidText() {
    const QUuid id = QUuid::createUuid();
    if (id.isNull()) throw EAppError(QStringLiteral("生成GUID错误！"));
    // The braced form, upper case, with the braces cut off.
    const QString braced = id.toString(QUuid::WithBraces).toUpper();
    return RightText(LeftText(braced, braced.size() - 1), braced.size() - 2);
}
