#pragma once
// The chime of the reminder popup: our own short sound from the resources, started without waiting for it;
// where there is no audio output, the system's beep. Tests put their own player in its place.
#include <QString>
#include <functional>

// The resource path of the chime.
QString ChimeResource();

void PlayChime();

// Replaces the player; an empty function restores the real one.
void SetChimePlayer(std::function<void()> player);
