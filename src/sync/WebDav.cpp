#include "sync/WebDav.h"

#include <QAuthenticator>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {

// Marks a reply whose challenge was answered: a second challenge means the
// sign-in was refused, and the request ends with that 401.
const char kSignedIn[] = "folivar.signedIn";

bool SameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && a.port() == b.port();
}

// Ends the request with `why` noted in the answer; `finished` follows.
void Abort(QNetworkReply *reply, bool DavAnswer::*why, DavAnswer &answer)
{
    answer.*why = true;
    reply->abort();
}

// Follows a redirect within the server, refuses one elsewhere, and cuts off
// an answer that is too long or too slow.
void Bound(QNetworkReply *reply, const DavLimits &limits, const std::shared_ptr<DavAnswer> &answer)
{
    const QUrl origin = reply->request().url();
    reply->setReadBufferSize(limits.largestAnswer);
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, origin, answer](const QUrl &to) {
        if (SameOrigin(origin, to))
            return Q_EMIT reply->redirectAllowed();
        answer->redirectedTo = to;
        reply->abort();
    });
    // Noted only: the reply, which ignores none of them, then fails.
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [answer](const QList<QSslError> &errors) { answer->certificateErrors = errors; });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, limits, answer] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > limits.largestAnswer)
            Abort(reply, &DavAnswer::tooLarge, *answer);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, limits, answer] {
        answer->body += reply->readAll();
        if (answer->body.size() > limits.largestAnswer)
            Abort(reply, &DavAnswer::tooLarge, *answer);
    });
    QTimer::singleShot(limits.totalMs, reply, [reply, answer] { Abort(reply, &DavAnswer::tooSlow, *answer); });
}

void TakeOutcome(QNetworkReply *reply, DavAnswer &answer)
{
    const bool cutOff = answer.tooLarge || answer.tooSlow || answer.redirectedTo.isValid();
    if (cutOff) {
        answer.body.clear();
        return;
    }
    // A reply ended by the idle timeout is closed already.
    if (reply->isOpen())
        answer.body += reply->readAll();
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.etag = reply->rawHeader("ETag");
    if (answer.status == 0)
        answer.networkError = reply->errorString();
    // The transfer timeout ends a request as if it had been cancelled.
    answer.timedOut = reply->error() == QNetworkReply::OperationCanceledError;
}

} // namespace

WebDav::WebDav(QObject *parent, const DavLimits &limits) : QObject(parent), network_(this), limits_(limits)
{
    connect(&network_, &QNetworkAccessManager::authenticationRequired, this, &WebDav::SignIn);
}

void WebDav::SetAccount(const SyncAccount &account)
{
    account_ = account;
    // Credentials Qt kept for the old account go with it.
    network_.clearAccessCache();
}

// An authenticator left as it is ends the request with the server's 401.
void WebDav::SignIn(QNetworkReply *reply, QAuthenticator *authenticator) const
{
    if (account_.user.isEmpty() || reply->property(kSignedIn).toBool()
        || !SameOrigin(reply->url(), UrlOf(QByteArray())))
        return;
    reply->setProperty(kSignedIn, true);
    authenticator->setUser(account_.user);
    authenticator->setPassword(account_.password);
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
    request.setTransferTimeout(limits_.idleMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    // Never a stale copy from a cache between us and the server.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    return request;
}

void WebDav::Send(QNetworkReply *reply, DavCallback done)
{
    auto answer = std::make_shared<DavAnswer>();
    Bound(reply, limits_, answer);
    connect(reply, &QNetworkReply::finished, this, [reply, answer, done = std::move(done)] {
        reply->deleteLater();
        TakeOutcome(reply, *answer);
        done(*answer);
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

bool SendsPasswordInClear(const SyncAccount &account)
{
    const QUrl url(account.address.trimmed());
    if (account.user.isEmpty() || url.scheme().compare(u"http", Qt::CaseInsensitive) != 0)
        return false;
    return url.host().compare(u"localhost", Qt::CaseInsensitive) != 0 && !QHostAddress(url.host()).isLoopback();
}

QByteArray PathSegment(const QString &name)
{
    return QUrl::toPercentEncoding(name);
}
