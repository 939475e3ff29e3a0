#pragma once
// Everything the program keeps for the whole run besides what the controls
// hold. Created before the main window, destroyed after it.
#include <QString>

struct ReaderState {
    QString SettingsPath;
    // Set once shutdown has run; nothing may touch the settings or start work after it.
    bool shutDown = false;
};
