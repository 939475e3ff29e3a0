#include "sync/DavFailure.h"

QString DescribeFailure(const DavAnswer &answer)
{
    if (answer.redirectedTo.isValid())
        return QStringLiteral("服务器把请求转到了别的地址：%1")
            .arg(answer.redirectedTo.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery));
    if (answer.tooLarge)
        return QStringLiteral("同步服务器的回答太长，不像一本书的记录");
    if (answer.tooSlow)
        return QStringLiteral("同步服务器没有在 %1 秒内答完").arg(DavLimits().totalMs / 1000);
    switch (answer.status) {
    case 0:
        if (answer.timedOut)
            return QStringLiteral("同步服务器 %1 秒内没有回应").arg(DavLimits().idleMs / 1000);
        return QStringLiteral("无法连接同步服务器：%1").arg(answer.networkError);
    case 401:
    case 403:
        return QStringLiteral("同步服务器拒绝登录：用户名或密码不对");
    case 404:
    case 409:
        return QStringLiteral("同步服务器上没有这个文件夹，请检查地址");
    case 507:
        return QStringLiteral("同步服务器空间已满");
    default:
        return QStringLiteral("同步服务器出错（HTTP %1）").arg(answer.status);
    }
}
