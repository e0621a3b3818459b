#include "common/UException.h"

#include "common/UntPublic.h"

namespace {
TCardException g_handler;
}

TCardException* gCardException = &g_handler;

void TCardException::AppException(QObject* /*sender*/, const std::exception& e) {
    if (auto* app = dynamic_cast<const EAppError*>(&e))
        ErrMessage = app->Message();
    else
        ErrMessage = QString::fromLocal8Bit(e.what());
    if (auto* db = dynamic_cast<const EDBException*>(&e)) {
        ErrUserMsg = db->UserMsg;
        ErrSqlText = db->SqlText;
        ShowErrorDetail(ErrUserMsg, ErrMessage, ErrSqlText);
    } else {
        ShowError(ErrMessage);
    }
}

void HandleCurrentException(QObject* sender) {
    try {
        throw;
    } catch (const EAbort&) {
        // silent by design
    } catch (const std::exception& e) {
        try {
            gCardException->AppException(sender, e);
        } catch (...) {
            // the handler itself never raises
        }
    } catch (...) {
        try {
            ShowError(QStringLiteral("未知错误"));
        } catch (...) {
        }
    }
}
