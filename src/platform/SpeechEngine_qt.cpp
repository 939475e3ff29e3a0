#include "platform/SpeechEngine.h"

#include "platform/Log.h"

#include <QFutureWatcher>
#include <QLocale>
#include <QTextToSpeech>
#include <QVoice>
#include <QtConcurrent>

namespace {

const QString kEngine = QStringLiteral("speechd");

// Brings speech-dispatcher up (it may be spawned, which takes a while) and
// sees that it speaks some language. Runs off the window's thread; the
// engine it makes is thrown away there, and the one kept is made afterwards
// on the window's thread, quickly, the service being up. Returns why the
// service is unusable, or nothing.
QString ProbeService()
{
    if (!QTextToSpeech::availableEngines().contains(kEngine))
        return QStringLiteral("朗读不可用：缺少 speech-dispatcher 的 Qt 插件");
    QTextToSpeech probe(kEngine);
    if (probe.state() == QTextToSpeech::Error)
        return QStringLiteral("朗读不可用：%1").arg(probe.errorString());
    if (probe.availableLocales().isEmpty())
        return QStringLiteral("朗读不可用：speech-dispatcher 没有可用的声音");
    return {};
}

struct OfferedVoice {
    QString name;
    QLocale locale;
    QVoice voice;
};

class QtSpeech : public SpeechEngine {
public:
    void Start() override;
    void Say(const QString &text) override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    void SetRate(double rate) override;
    QStringList Voices() const override;
    void SetVoice(const QString &name) override;
    QString Voice() const override { return voice_; }

private:
    void OnProbed();
    void CollectVoices();
    void OnStateChanged(QTextToSpeech::State state);

    QFutureWatcher<QString> probe_;
    std::unique_ptr<QTextToSpeech> speech_;
    QList<OfferedVoice> voices_;
    QString voice_;
    double rate_ = 0;
    bool speaking_ = false;
};

void QtSpeech::Start()
{
    if (CurrentState() != State::NotStarted)
        return;
    SetStarting();
    connect(&probe_, &QFutureWatcher<QString>::finished, this, &QtSpeech::OnProbed);
    probe_.setFuture(QtConcurrent::run(&ProbeService));
}

void QtSpeech::OnProbed()
{
    const QString reason = probe_.result();
    if (!reason.isEmpty())
        return SetFailed(reason);
    speech_ = std::make_unique<QTextToSpeech>(kEngine);
    if (speech_->state() == QTextToSpeech::Error)
        return SetFailed(QStringLiteral("朗读不可用：%1").arg(speech_->errorString()));
    connect(speech_.get(), &QTextToSpeech::stateChanged, this, &QtSpeech::OnStateChanged);
    CollectVoices();
    speech_->setRate(rate_);
    const QStringList names = Voices();
    if (!names.isEmpty())
        SetVoice(names.contains(voice_) ? voice_ : names.first());
    SetReady();
}

// The voices of every Chinese locale, then those of the user's own language.
void QtSpeech::CollectVoices()
{
    QList<QLocale> locales;
    for (const QLocale &locale : speech_->availableLocales())
        if (locale.language() == QLocale::Chinese)
            locales.append(locale);
    for (const QLocale &locale : speech_->availableLocales())
        if (locale.language() == QLocale::system().language() && !locales.contains(locale))
            locales.append(locale);
    for (const QLocale &locale : locales) {
        speech_->setLocale(locale);
        for (const QVoice &voice : speech_->availableVoices())
            voices_.append({QStringLiteral("%1（%2）").arg(voice.name(), locale.bcp47Name()), locale, voice});
    }
    qCInfo(lcPlatform) << "speech voices:" << Voices();
}

void QtSpeech::OnStateChanged(QTextToSpeech::State state)
{
    if (state == QTextToSpeech::Error)
        return SetFailed(QStringLiteral("朗读出错：%1").arg(speech_->errorString()));
    if (state == QTextToSpeech::Ready && speaking_) {
        speaking_ = false;
        Q_EMIT finished();
    }
}

void QtSpeech::Say(const QString &text)
{
    if (CurrentState() != State::Ready)
        return;
    speaking_ = true;
    speech_->say(text);
}

void QtSpeech::Stop()
{
    speaking_ = false;
    if (speech_)
        speech_->stop();
}

void QtSpeech::Pause()
{
    if (speech_)
        speech_->pause();
}

void QtSpeech::Resume()
{
    if (speech_)
        speech_->resume();
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
