#pragma once
// A small WebDAV client over Qt Network: whole files read, written and
// deleted, and folders made, each request answered once through a callback on
// the caller's thread, never waited for. A request fails after a while
// without a byte, or when it has not ended in a longer while, and an answer
// longer than a record can be is cut off unread. The server may send a
// request on within itself (the same scheme, host and port), never elsewhere:
// the password stays with the server it was given for. With a user named,
// the server's challenge is answered (Basic, Digest, ...) once per request.
// A certificate that does not verify ends the request: it is never accepted.
#include "core/SyncAccount.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSslError>
#include <QUrl>

#include <functional>

struct DavAnswer {
    // The HTTP status, 0 when no answer came (no connection, a timeout).
    int status = 0;
    QByteArray body;
    // The file's ETag as the server gave it, quotes and all.
    QByteArray etag;
    // What went wrong, in the network's words; empty when the server answered.
    QString networkError;
    // No byte within DavLimits::idleMs.
    bool timedOut = false;
    // Not answered in whole within DavLimits::totalMs.
    bool tooSlow = false;
    // Longer than DavLimits::largestAnswer: cut off, the body left empty.
    bool tooLarge = false;
    // Where the server sent the request, elsewhere than itself (not followed).
    QUrl redirectedTo;
    // Why the server's certificate was refused (https); empty when it was not.
    QList<QSslError> certificateErrors;

    bool Succeeded() const { return status >= 200 && status < 300; }
};
using DavCallback = std::function<void(const DavAnswer &answer)>;

struct DavLimits {
    int idleMs = 10000;
    int totalMs = 30000;
    // A book's record, a few hundred bookmarks, is some tens of KiB.
    qint64 largestAnswer = qint64(1024) * 1024;
};

class WebDav : public QObject {
public:
    explicit WebDav(QObject *parent = nullptr, const DavLimits &limits = {});
    const DavLimits &Limits() const { return limits_; }

    // The folder and the sign-in the next requests use.
    void SetAccount(const SyncAccount &account);

    // Every request names a file or folder by its path under the folder
    // (slash-separated segments, escaped with PathSegment).
    void Get(const QByteArray &path, DavCallback done);
    // Writes the file only while its ETag is still `etag`; with an empty
    // `etag` only when there is no such file yet. A file changed meanwhile
    // answers 412.
    void Put(const QByteArray &path, const QByteArray &body, const QByteArray &etag, DavCallback done);
    void Delete(const QByteArray &path, DavCallback done);
    // MKCOL; a folder that exists already answers 405.
    void MakeFolder(const QByteArray &path, DavCallback done);

private:
    // The URL of `path` (slash-separated segments, already escaped) under
    // the folder.
    QUrl UrlOf(const QByteArray &path) const;
    QNetworkRequest RequestFor(const QByteArray &path) const;
    void Send(QNetworkReply *reply, DavCallback done);
    void SignIn(QNetworkReply *reply, QAuthenticator *authenticator) const;

    QNetworkAccessManager network_;
    SyncAccount account_;
    DavLimits limits_;
};

// Whether signing in to the account sends its password readable to anyone
// on the way: a user named and plain http to a host that is not this
// computer (localhost, 127.0.0.0/8, ::1).
bool SendsPasswordInClear(const SyncAccount &account);

// The path of one name as a URL path segment: every character but letters,
// digits and -._~ escaped as UTF-8 bytes, so that any file name (spaces, #,
// ?, %, Chinese) is one segment under the folder.
QByteArray PathSegment(const QString &name);
