#pragma once
// The desktop's speech service, behind the few operations 朗读 uses, so that
// reading aloud can be driven (and tested) without sound. One backend is
// built in, chosen by CMake: Qt TextToSpeech over speech-dispatcher, or one
// that is always unavailable.
#include <QObject>
#include <QStringList>

#include <memory>

class SpeechEngine : public QObject {
    Q_OBJECT
public:
    enum class State { NotStarted, Starting, Ready, Failed };

    State CurrentState() const { return state_; }
    // Why the engine failed, one line in Chinese ("朗读不可用：…"); empty
    // unless Failed. The service's own words go to the log only.
    QString FailureReason() const { return reason_; }

    // Begins bringing the service up, without waiting for it: ready() or
    // failed() follows from the event loop. Does nothing once begun.
    virtual void Start() = 0;
    // Speaks the text, replacing any utterance under way; finished() follows
    // once it has been spoken. Ignored unless Ready.
    virtual void Say(const QString &text) = 0;
    // Ends the utterance under way; no finished() follows for it. There is
    // no pause: speech-dispatcher's own can leave it silent for good.
    virtual void Stop() = 0;
    // The speed, -1 (slowest) to 1 (fastest), 0 the voice's own.
    virtual void SetRate(double rate) = 0;
    // The names of the voices offered, Chinese ones first; empty until Ready.
    virtual QStringList Voices() const = 0;
    // Chooses a voice by its name; an unknown name leaves the voice as it is.
    virtual void SetVoice(const QString &name) = 0;
    virtual QString Voice() const = 0;

Q_SIGNALS:
    void ready();
    void failed(const QString &reason);
    // The text given to Say has been spoken.
    void finished();

protected:
    // Backends report their state through these; each emits its signal once.
    void SetStarting() { state_ = State::Starting; }
    void SetReady();
    void SetFailed(const QString &reason);

private:
    State state_ = State::NotStarted;
    QString reason_;
};

// The backend this build has.
std::unique_ptr<SpeechEngine> CreateSpeechEngine();
