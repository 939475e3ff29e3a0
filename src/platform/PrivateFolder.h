#pragma once
// A folder for this user's sockets and locks that no other user can reach:
// another user who could create or replace a file there could take the
// place of our socket and hear every book path the reader is asked to open.
#include <QString>

// Why the folder may not hold them, in a few words for the log; empty text
// when it may: a folder (not a symbolic link to one) owned by this user that
// no one else may enter.
QString FolderRefusal(const QString &path);

// $XDG_RUNTIME_DIR where it is set and passes FolderRefusal; otherwise
// folivar-<user id> in the temp folder, made with mode 0700 where missing and
// checked like the other. Empty text (logged) when neither will do.
QString PrivateFolder();
