#include "sync/DavFailure.h"

namespace {

// A reason a certificate is refused, in the words a user can act on; Qt's
// own for the rare ones.
QString NameOf(const QSslError &error)
{
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("证书是自签名的");
    case QSslError::CertificateExpired:
        return QStringLiteral("证书已过期");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("证书尚未生效");
    case QSslError::HostNameMismatch:
        return QStringLiteral("证书不属于这个地址");
    case QSslError::CertificateRevoked:
        return QStringLiteral("证书已被吊销");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral("证书的签发者不受信任");
    default:
        return error.errorString();
    }
}

QString CertificateFailure(const QList<QSslError> &errors)
{
    QStringList names;
    for (const QSslError &error : errors)
        if (!names.contains(NameOf(error)))
            names.append(NameOf(error));
    return QStringLiteral("同步服务器的证书不可信，未连接：%1").arg(names.join(QStringLiteral("；")));
}

} // namespace

QString DescribeFailure(const DavAnswer &answer)
{
    if (!answer.certificateErrors.isEmpty())
        return CertificateFailure(answer.certificateErrors);
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
