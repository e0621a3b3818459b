#include "ToolSupport.h"

#include "common/UException.h"
#include "data/MD.h"

#include <QFileInfo>
#include <cstdio>

void Say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

bool ConnectTool(TDbAccess& access, const QFileInfo& file) {
    try {
        access.Connection->Open(file.absoluteFilePath(), DatabasePassword());
        return true;
    } catch (const EAppError& e) {
        Say(QStringLiteral("数据库连接失败！\n") + e.Message());
        return false;
    }
}
