#include "platform/SpeechEngine.h"

#include <QTimer>

namespace {

// A build without Qt TextToSpeech: the engine fails as soon as it starts.
class UnavailableSpeech : public SpeechEngine {
public:
    void Start() override
    {
        if (CurrentState() != State::NotStarted)
            return;
        SetStarting();
        QTimer::singleShot(0, this, [this] { SetFailed(QStringLiteral("朗读不可用：本版本未带语音合成")); });
    }
    void Say(const QString &) override {}
    void Stop() override {}
    void SetRate(double) override {}
    QStringList Voices() const override { return {}; }
    // The remembered voice is kept, for a build that has one.
    void SetVoice(const QString &name) override { voice_ = name; }
    QString Voice() const override { return voice_; }

private:
    QString voice_;
};

} // namespace

std::unique_ptr<SpeechEngine> CreateSpeechEngine()
{
    return std::make_unique<UnavailableSpeech>();
}
