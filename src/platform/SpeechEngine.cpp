#include "platform/SpeechEngine.h"

#include "platform/Log.h"

void SpeechEngine::SetReady()
{
    state_ = State::Ready;
    Q_EMIT ready();
}

void SpeechEngine::SetFailed(const QString &reason)
{
    state_ = State::Failed;
    reason_ = reason;
    qCWarning(lcPlatform) << "speech unavailable:" << reason;
    Q_EMIT failed(reason);
}
