#pragma once
// 同步: a dialog for the WebDAV folder that places, bookmarks and choices are
// shared through: 地址 (http or https), 用户, 密码, 启用, and 测试连接, which
// shows its verdict under the fields while the dialog stays open.
#include "core/SyncAccount.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;
class QWidget;

// Checks an account; calls the second argument with the verdict, later,
// unless the first (the dialog's) is gone by then.
using FolderChecker =
    std::function<void(const SyncAccount &account, QObject *context, std::function<void(const QString &verdict)> done)>;

// Whether signing in to the account sends its password readable to anyone
// on the way.
using ClearTextTest = std::function<bool(const SyncAccount &account)>;

// Asks over `parent`, starting from `current`. For an account that sends the
// password in clear, 测试连接, and 确定 with 启用 ticked, first warn in the
// dialog and go on only once the user agrees; an address agreed to joins
// `agreed`, and one there is not asked about again. The account confirmed,
// or nullopt when the user gave up (Esc, 取消, the window closed meanwhile).
std::optional<SyncAccount> AskSyncAccount(QWidget *parent, const SyncAccount &current, FolderChecker check,
                                          ClearTextTest inClear, QStringList &agreed);
