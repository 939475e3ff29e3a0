#pragma once
// 同步: a dialog for the WebDAV folder that places, bookmarks and choices are
// shared through: 地址 (http or https), 用户, 密码, 启用, and 测试连接, which
// shows its verdict under the fields while the dialog stays open.
#include "core/SyncAccount.h"

#include <QString>

#include <functional>
#include <optional>

class QObject;
class QWidget;

// Checks an account; calls the second argument with the verdict, later,
// unless the first (the dialog's) is gone by then.
using FolderChecker =
    std::function<void(const SyncAccount &account, QObject *context, std::function<void(const QString &verdict)> done)>;

// Asks over `parent`, starting from `current`. The account confirmed, or
// nullopt when the user gave up (Esc, 取消, the window closed meanwhile).
std::optional<SyncAccount> AskSyncAccount(QWidget *parent, const SyncAccount &current, FolderChecker check);
