#include "ToolSupport.h"

#include "common/UException.h"
#include "common/UntPublic.h"

#include <QFileInfo>
#include <cstdio>

void Say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

TToolConnection::TToolConnection(const QFileInfo& file) : m_path(file.absoluteFilePath()) {
    SetAppDir(file.absolutePath());
    gDbAccess = &m_access;
}

TToolConnection::~TToolConnection() {
    gDbAccess = nullptr;
}

bool TToolConnection::Open() {
    try {
        m_access.Connection->Open(m_path, DatabasePassword());
        return true;
    } catch (const EAppError& e) {
        Say(QStringLiteral("数据库连接失败！\n") + e.Message());
        return false;
    }
}
