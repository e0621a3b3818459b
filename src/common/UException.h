#pragma once
// Errors are exceptions that carry a message for the user. One application-wide handler shows them.
#include <QByteArray>
#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

class QObject;

// A plain error with a message for the user; shown in a box captioned "错误".
class EAppError : public std::exception {
public:
    explicit EAppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A refusal of the database engine; its message is the engine's own text.
class EEngineError : public EAppError {
public:
    using EAppError::EAppError;
};

// A failure of the access layer: the engine's text, the message for the user and the failed SQL.
class EDBException : public EAppError {
public:
    EDBException(const QString& errorText, QString userMsg, QString sqlText)
        : EAppError(errorText), UserMsg(std::move(userMsg)), SqlText(std::move(sqlText)) {}
    QString UserMsg;
    QString SqlText;
};

// The silent abort: ends a handler without any message (e.g. the user answered No).
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() {
    throw EAbort();
}

// The application-wide exception handler.
class TCardException {
public:
    QString ErrMessage;
    QString ErrUserMsg;
    QString ErrSqlText;
    void AppException(QObject* sender, const std::exception& e);
};

extern TCardException* gCardException;

// Hands any exception in flight to the application-wide handler; the silent abort shows nothing.
// Call only from inside a catch block.
void HandleCurrentException(QObject* sender = nullptr);

// Runs f so that no exception leaves it: every slot and event handler goes through here.
template <class F> void Guard(F&& f, QObject* sender = nullptr) {
    try {
        std::forward<F>(f)();
    } catch (...) {
        HandleCurrentException(sender);
    }
}

// Wraps a callable so that calling it runs under Guard; for connecting signals to handlers. A handler that
// takes no arguments may be connected to a signal that has some (e.g. clicked(bool)).
template <class F> auto Guarded(F f) {
    return [f = std::move(f)](auto&&... args) mutable {
        Guard([&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                f(std::forward<decltype(args)>(args)...);
            else
                f();
        });
    };
}
