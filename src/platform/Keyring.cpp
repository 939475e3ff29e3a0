#include "platform/Keyring.h"

#include "platform/Log.h"

#include <QObject>
#include <qt6keychain/keychain.h>

namespace {

// The service every password of the program is filed under.
const QString kService = QStringLiteral("Folivar");

template <typename Job>
Job *StartJob(const QString &key, QObject *context, std::function<void(Job &)> finished)
{
    auto *job = new Job(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, context, [job, finished = std::move(finished)] {
        if (job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound)
            qCWarning(lcPlatform).noquote() << "keyring:" << job->errorString();
        finished(*job);
    });
    return job;
}

} // namespace

void ReadPassword(const QString &key, QObject *context, const std::function<void(std::optional<QString>)> &done)
{
    QKeychain::ReadPasswordJob *job =
        StartJob<QKeychain::ReadPasswordJob>(key, context, [done](QKeychain::ReadPasswordJob &finished) {
            done(finished.error() == QKeychain::NoError ? std::optional(finished.textData()) : std::nullopt);
        });
    job->start();
}

void WritePassword(const QString &key, const QString &password, QObject *context, const std::function<void(bool)> &done)
{
    QKeychain::WritePasswordJob *job = StartJob<QKeychain::WritePasswordJob>(
        key, context, [done](QKeychain::WritePasswordJob &finished) { done(finished.error() == QKeychain::NoError); });
    job->setTextData(password);
    job->start();
}
