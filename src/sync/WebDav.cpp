#include "sync/WebDav.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int kTimeoutMs = 10000;

} // namespace

WebDav::WebDav(QObject *parent) : QObject(parent), network_(this) {}

void WebDav::SetAccount(const SyncAccount &account)
{
    account_ = account;
}

QUrl WebDav::UrlOf(const QByteArray &path) const
{
    QUrl folder(account_.address.trimmed());
    if (!folder.path().endsWith(u'/'))
        folder.setPath(folder.path() + u'/');
    return folder.resolved(QUrl::fromEncoded(path));
}

QNetworkRequest WebDav::RequestFor(const QByteArray &path) const
{
    QNetworkRequest request(UrlOf(path));
    request.setTransferTimeout(kTimeoutMs);
    // Never a stale copy from a cache between us and the server.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!account_.user.isEmpty()) {
        const QByteArray pair = (account_.user + u':' + account_.password).toUtf8();
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }
    return request;
}

void WebDav::Send(QNetworkReply *reply, DavCallback done)
{
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        DavAnswer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // A reply ended by the timeout is closed already.
        if (reply->isOpen())
            answer.body = reply->readAll();
        answer.etag = reply->rawHeader("ETag");
        if (answer.status == 0)
            answer.networkError = reply->errorString();
        // The transfer timeout ends a request as if it had been cancelled.
        answer.timedOut = reply->error() == QNetworkReply::OperationCanceledError;
        done(answer);
    });
}

void WebDav::Get(const QByteArray &path, DavCallback done)
{
    Send(network_.get(RequestFor(path)), std::move(done));
}

void WebDav::Put(const QByteArray &path, const QByteArray &body, const QByteArray &etag, DavCallback done)
{
    QNetworkRequest request = RequestFor(path);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (etag.isEmpty())
        request.setRawHeader("If-None-Match", "*");
    else
        request.setRawHeader("If-Match", etag);
    Send(network_.put(request, body), std::move(done));
}

void WebDav::Delete(const QByteArray &path, DavCallback done)
{
    Send(network_.deleteResource(RequestFor(path)), std::move(done));
}

void WebDav::MakeFolder(const QByteArray &path, DavCallback done)
{
    Send(network_.sendCustomRequest(RequestFor(path), QByteArrayLiteral("MKCOL")), std::move(done));
}

QByteArray PathSegment(const QString &name)
{
    return QUrl::toPercentEncoding(name);
}
