#include "platform/SpeechEngine.h"

#include "platform/Log.h"
#include "platform/OfferedVoices.h"

#include <QFutureWatcher>
#include <QLocale>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <QtConcurrent>
#include <algorithm>

namespace {

const QString kEngine = QStringLiteral("speechd");

struct OfferedVoice {
    QString name;
    QLocale locale;
    QVoice voice;
};

// The engine as it came up: ready to use, or why it is not.
struct StartedEngine {
    std::unique_ptr<QTextToSpeech> speech;
    QList<OfferedVoice> voices;
    QString failure;
};

// The voices 朗读 offers (see OfferedVoices), under their menu names.
QList<OfferedVoice> VoicesOf(QTextToSpeech &speech)
{
    QList<ListedVoice> listed;
    QList<QVoice> voices;
    for (const QLocale &locale : speech.availableLocales()) {
        speech.setLocale(locale);
        for (const QVoice &voice : speech.availableVoices()) {
            listed.append({voice.name(), locale});
            voices.append(voice);
        }
    }
    QList<OfferedVoice> offered;
    for (const qsizetype at : OfferedVoices(listed, QLocale::system().language()))
        offered.append({OfferedVoiceName(listed[at]), listed[at].locale, voices[at]});
    return offered;
}

// 朗读's words for what went wrong; the engine's own, in English, go to the
// log only.
QString Unavailable(QTextToSpeech::ErrorReason reason, const QString &engineText)
{
    qCWarning(lcPlatform) << "speech engine:" << engineText;
    switch (reason) {
    case QTextToSpeech::ErrorReason::Initialization:
        return QStringLiteral("朗读不可用：无法连接语音服务 speech-dispatcher");
    case QTextToSpeech::ErrorReason::Configuration:
        return QStringLiteral("朗读不可用：speech-dispatcher 没有可用的声音");
    case QTextToSpeech::ErrorReason::Input:
        return QStringLiteral("朗读不可用：speech-dispatcher 无法读出这段文字");
    case QTextToSpeech::ErrorReason::Playback:
        return QStringLiteral("朗读不可用：无法播放声音");
    case QTextToSpeech::ErrorReason::NoError:
        break;
    }
    return QStringLiteral("朗读不可用：语音服务出错");
}

// Chooses the voice offered under that name, else the first one; false when
// the engine refuses it.
bool ChooseVoice(QTextToSpeech &speech, const QList<OfferedVoice> &voices, const QString &name)
{
    const auto named = std::find_if(voices.begin(), voices.end(),
                                    [&name](const OfferedVoice &offered) { return offered.name == name; });
    const OfferedVoice &chosen = named != voices.end() ? *named : voices.first();
    speech.setLocale(chosen.locale);
    speech.setVoice(chosen.voice);
    return speech.voice() == chosen.voice;
}

// Lists the voices and chooses one; why the engine cannot speak, or empty.
// The engine sets itself up with a voice of the user's locale and fails
// where the service files none under it (espeak-ng's Mandarin is under no
// locale Qt knows, so zh_CN and zh_TW find none): only a failed connection
// counts, as the voice is chosen here.
QString ChooseOwnVoice(QTextToSpeech &speech, QList<OfferedVoice> &voices, const QString &voice)
{
    if (speech.state() == QTextToSpeech::Error) {
        if (speech.errorReason() == QTextToSpeech::ErrorReason::Initialization)
            return Unavailable(speech.errorReason(), speech.errorString());
        qCInfo(lcPlatform) << "speech engine without a voice of its own:" << speech.errorString();
    }
    voices = VoicesOf(speech);
    if (voices.isEmpty())
        return QStringLiteral("朗读不可用：speech-dispatcher 没有中文声音");
    if (!ChooseVoice(speech, voices, voice))
        return Unavailable(speech.errorReason(), speech.errorString());
    return {};
}

// Connects to speech-dispatcher, which may have to be spawned and takes a
// few seconds to list its voices either way, and sets the voice and the
// speed. Runs off the window's thread; the engine is handed to `home`, the
// window's thread, before it is returned. The speech-dispatcher plugin's own
// object stays behind, which is harmless: it reports progress from
// speech-dispatcher's thread in any case, and QTextToSpeech passes that on
// in the thread it belongs to.
StartedEngine StartEngine(QThread *home, const QString &voice, double rate)
{
    StartedEngine started;
    if (!QTextToSpeech::availableEngines().contains(kEngine)) {
        started.failure = QStringLiteral("朗读不可用：缺少 speech-dispatcher 的 Qt 插件");
        return started;
    }
    started.speech = std::make_unique<QTextToSpeech>(kEngine);
    started.failure = ChooseOwnVoice(*started.speech, started.voices, voice);
    started.speech->setRate(rate);
    started.speech->moveToThread(home);
    return started;
}

class QtSpeech : public SpeechEngine {
public:
    // An engine still coming up is waited for, to be destroyed here.
    ~QtSpeech() override
    {
        if (starting_.isRunning())
            starting_.waitForFinished();
    }
    void Start() override;
    void Say(const QString &text) override;
    void Stop() override;
    void SetRate(double rate) override;
    QStringList Voices() const override;
    void SetVoice(const QString &name) override;
    QString Voice() const override { return voice_; }

private:
    // The utterance given to Say: none, asked for, or begun (the service said
    // so). Only the end of one begun is its end: a stopped one's may come
    // after the next Say.
    enum class Utterance { None, Asked, Begun };

    void OnStarted();
    void OnStateChanged(QTextToSpeech::State state);
    void OnError(QTextToSpeech::ErrorReason reason, const QString &engineText);

    QFutureWatcher<StartedEngine> starting_;
    std::unique_ptr<QTextToSpeech> speech_;
    QList<OfferedVoice> voices_;
    QString voice_;
    double rate_ = 0;
    Utterance utterance_ = Utterance::None;
};

void QtSpeech::Start()
{
    if (CurrentState() != State::NotStarted)
        return;
    SetStarting();
    connect(&starting_, &QFutureWatcher<StartedEngine>::finished, this, &QtSpeech::OnStarted);
    starting_.setFuture(QtConcurrent::run(&StartEngine, QThread::currentThread(), voice_, rate_));
}

void QtSpeech::OnStarted()
{
    StartedEngine started = starting_.future().takeResult();
    if (!started.failure.isEmpty())
        return SetFailed(started.failure);
    speech_ = std::move(started.speech);
    voices_ = std::move(started.voices);
    for (const OfferedVoice &offered : voices_)
        if (offered.voice == speech_->voice())
            voice_ = offered.name;
    qCInfo(lcPlatform) << "speech voices:" << Voices();
    qCInfo(lcPlatform) << "speaking with" << voice_;
    connect(speech_.get(), &QTextToSpeech::stateChanged, this, &QtSpeech::OnStateChanged);
    connect(speech_.get(), &QTextToSpeech::errorOccurred, this, &QtSpeech::OnError);
    SetReady();
}

void QtSpeech::OnStateChanged(QTextToSpeech::State state)
{
    if (state == QTextToSpeech::Speaking && utterance_ == Utterance::Asked) {
        utterance_ = Utterance::Begun;
    } else if (state == QTextToSpeech::Ready && utterance_ == Utterance::Begun) {
        utterance_ = Utterance::None;
        Q_EMIT finished();
    }
}

// Every error, also one while the engine is still in the error state its
// start left it in (see ChooseOwnVoice).
void QtSpeech::OnError(QTextToSpeech::ErrorReason reason, const QString &engineText)
{
    if (CurrentState() != State::Failed)
        SetFailed(Unavailable(reason, engineText));
}

void QtSpeech::Say(const QString &text)
{
    if (CurrentState() != State::Ready)
        return;
    utterance_ = Utterance::Asked;
    speech_->say(text);
}

void QtSpeech::Stop()
{
    utterance_ = Utterance::None;
    if (speech_)
        speech_->stop();
}

void QtSpeech::SetRate(double rate)
{
    rate_ = qBound(-1.0, rate, 1.0);
    if (speech_)
        speech_->setRate(rate_);
}

QStringList QtSpeech::Voices() const
{
    QStringList names;
    for (const OfferedVoice &offered : voices_)
        names.append(offered.name);
    return names;
}

void QtSpeech::SetVoice(const QString &name)
{
    // Until the service is up the name is kept, to be looked for then.
    if (!speech_)
        voice_ = name;
    for (const OfferedVoice &offered : voices_) {
        if (offered.name != name)
            continue;
        voice_ = name;
        speech_->setLocale(offered.locale);
        speech_->setVoice(offered.voice);
        return;
    }
}

} // namespace

std::unique_ptr<SpeechEngine> CreateSpeechEngine()
{
    return std::make_unique<QtSpeech>();
}
