#include "reminders/Chime.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {

std::function<void()>& Player() {
    static std::function<void()> player;
    return player;
}

// One sound object for the whole program; it is loaded once and may play over itself.
QSoundEffect* Effect() {
    static QPointer<QSoundEffect> effect;
    if (!effect) {
        effect = new QSoundEffect(qApp);
        effect->setObjectName(QStringLiteral("ChimeEffect"));
        effect->setSource(QUrl(QStringLiteral("qrc") + ChimeResource()));
        effect->setVolume(0.8f);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [] {
            if (effect && effect->status() == QSoundEffect::Error) QApplication::beep();
        });
    }
    return effect;
}

void PlayReal() {
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        QApplication::beep();
        return;
    }
    QSoundEffect* effect = Effect();
    if (effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    effect->play(); // returns at once; a sound still loading starts when it is ready
}

} // namespace

QString ChimeResource() {
    // The resources live in a static library: make sure they are linked in and registered.
    static const bool registered = [] {
        Q_INIT_RESOURCE(reminders);
        return true;
    }();
    (void)registered;
    return QStringLiteral(":/reminders/chime.wav");
}

void PlayChime() {
    if (Player())
        Player()();
    else
        PlayReal();
}

void SetChimePlayer(std::function<void()> player) {
    Player() = std::move(player);
}
