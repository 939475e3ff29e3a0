#pragma once
// 测试连接: whether a WebDAV folder can be read and written with an account,
// found by making the program's folder in it, writing a small file there,
// reading it back and deleting it.
#include "core/SyncAccount.h"

#include <QString>

#include <functional>

class QObject;

// Checks the folder and tells `done` the verdict in a plain Chinese
// sentence. Returns at once; the answer comes later on the caller's thread,
// unless `context` is gone by then (its requests end with it).
void CheckFolder(const SyncAccount &account, QObject *context, const std::function<void(const QString &verdict)> &done);
