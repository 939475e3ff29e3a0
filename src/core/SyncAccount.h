#pragma once
// The shared folder that places, bookmarks and choices are kept in for other
// computers: a WebDAV folder, the user and password that open it (both empty
// for a server without sign-in), and whether syncing is on.
#include <QString>

struct SyncAccount {
    QString address;
    QString user;
    QString password;
    bool enabled = false;
};
