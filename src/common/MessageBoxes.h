#pragma once
// The real message boxes and file dialogs behind the seams of Seams.h.

// Installs the window implementations of the message and file-dialog seams.
void InstallGuiSeams();
