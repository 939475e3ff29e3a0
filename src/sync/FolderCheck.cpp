#include "sync/FolderCheck.h"

#include "sync/DavFailure.h"
#include "sync/WebDav.h"

#include <QUuid>

namespace {

using Verdict = std::function<void(const QString &verdict)>;

// Reads the file written, then deletes it.
void ReadBack(WebDav *dav, const QByteArray &path, const QByteArray &written, const Verdict &done)
{
    dav->Get(path, [dav, path, written, done](const DavAnswer &read) {
        if (!read.Succeeded() || read.body != written) {
            done(QStringLiteral("写入了文件，但读不回来：%1").arg(DescribeFailure(read)));
            return dav->deleteLater();
        }
        dav->Delete(path, [dav, done](const DavAnswer &) {
            done(QStringLiteral("连接成功：这个文件夹可以读取和写入"));
            dav->deleteLater();
        });
    });
}

} // namespace

void CheckFolder(const SyncAccount &account, QObject *context, const std::function<void(const QString &verdict)> &done)
{
    if (!QUrl(account.address.trimmed()).scheme().startsWith(QLatin1StringView("http")))
        return done(QStringLiteral("地址应以 http:// 或 https:// 开头"));
    auto *dav = new WebDav(context);
    dav->SetAccount(account);
    const QByteArray path = "folivar/check-" + QUuid::createUuid().toByteArray(QUuid::Id128) + ".txt";
    const QByteArray written = QByteArrayLiteral("folivar");
    dav->MakeFolder("folivar/", [dav, path, written, done](const DavAnswer &folder) {
        if (!folder.Succeeded() && folder.status != 405) {
            done(DescribeFailure(folder));
            return dav->deleteLater();
        }
        dav->Put(path, written, QByteArray(), [dav, path, written, done](const DavAnswer &put) {
            if (!put.Succeeded()) {
                done(QStringLiteral("文件夹可以打开，但不能写入：%1").arg(DescribeFailure(put)));
                return dav->deleteLater();
            }
            ReadBack(dav, path, written, done);
        });
    });
}
