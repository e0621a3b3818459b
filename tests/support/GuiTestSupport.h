#pragma once
// Helpers for tests of windows: driving modal dialogs from inside their own loop.
#include "support/TestFixture.h"

#include <QWidget>
#include <functional>

// Runs action as soon as the next modal loop starts (call before exec()).
void WhenModal(std::function<void()> action);
// The visible top-level modal widget, if any.
QWidget* ActiveModal();
