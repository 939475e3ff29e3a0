#include "session/ReadAloud.h"

#include "core/Preferences.h"
#include "platform/SpeechEngine.h"
#include "session/Log.h"
#include "session/ReadingSession.h"

ReadAloud::ReadAloud(ReadingSession &session, SpeechEngine &engine, QObject *parent)
    : QObject(parent), session_(session), engine_(engine)
{
    sleep_.setSingleShot(true);
    connect(&sleep_, &QTimer::timeout, this, &ReadAloud::Stop);
    connect(&engine_, &SpeechEngine::ready, this, &ReadAloud::OnEngineReady);
    connect(&engine_, &SpeechEngine::failed, this, &ReadAloud::OnEngineFailed);
    connect(&engine_, &SpeechEngine::finished, this, &ReadAloud::OnSentenceSpoken);
    connect(&session_, &ReadingSession::bookShown, this, &ReadAloud::Stop);
    connect(&session_, &ReadingSession::scriptChanged, this, &ReadAloud::OnTextReshown);
    connect(&session_, &ReadingSession::shownChapterChanged, this, &ReadAloud::OnChapterChanged);
}

bool ReadAloud::IsAvailable() const
{
    return engine_.CurrentState() != SpeechEngine::State::Failed;
}

QString ReadAloud::UnavailableReason() const
{
    return engine_.FailureReason();
}

void ReadAloud::PrepareEngine()
{
    engine_.Start();
}

void ReadAloud::SetState(State state)
{
    if (state == state_)
        return;
    state_ = state;
    Q_EMIT stateChanged(state_);
}

void ReadAloud::StartOrPause()
{
    if (IsOn())
        return TogglePause();
    if (!session_.HasBook())
        return;
    if (!IsAvailable()) {
        Q_EMIT unavailable(UnavailableReason());
        return;
    }
    SetState(State::Starting);
    if (sleepAfter_.count() > 0)
        sleep_.start(sleepAfter_);
    if (engine_.CurrentState() == SpeechEngine::State::Ready)
        return BeginReading();
    engine_.Start();
}

void ReadAloud::TogglePause()
{
    if (state_ == State::Reading) {
        engine_.Stop();
        SetState(State::Paused);
        qCInfo(lcSession) << "reading aloud paused in chapter" << chapter_;
    } else if (state_ == State::Paused) {
        SetState(State::Reading);
        SpeakNext();
    }
}

void ReadAloud::Stop()
{
    if (!IsOn())
        return;
    SetState(State::Off);
    sleep_.stop();
    engine_.Stop();
    Q_EMIT markRequested(0, 0);
    session_.SaveShownPlace();
    qCInfo(lcSession) << "reading aloud stopped in chapter" << chapter_;
}

void ReadAloud::OnEngineReady()
{
    // The engine took the voice remembered, or another when it has none such.
    session_.Prefs().Set(&Settings::voice, engine_.Voice());
    Q_EMIT voicesChanged();
    if (state_ == State::Starting)
        BeginReading();
}

void ReadAloud::BeginReading()
{
    SetState(State::Reading);
    BeginAt(session_.ShownChapter(), session_.ShownPosition(session_.TopPosition()));
}

void ReadAloud::OnEngineFailed(const QString &reason)
{
    Stop();
    Q_EMIT unavailable(reason);
}

void ReadAloud::BeginAt(int chapter, qsizetype from)
{
    chapter_ = chapter;
    text_ = session_.Book().ShownChapterText(chapter);
    sentences_ = SplitSentences(text_);
    index_ = 0;
    while (index_ < sentences_.size() && sentences_[index_].position < from)
        ++index_;
    SpeakNext();
}

void ReadAloud::SpeakNext()
{
    while (index_ >= sentences_.size())
        if (!AdvanceChapter())
            return Stop();
    const TextSpan sentence = sentences_[index_];
    qCInfo(lcSession) << "reading aloud chapter" << chapter_ << "sentence at" << sentence.position;
    Q_EMIT markRequested(sentence.position, sentence.length);
    engine_.Say(text_.mid(sentence.position, sentence.length));
}

// The next chapter on screen from its top, as Space shows it; false at the
// book's end or when reading is to stop with this chapter.
bool ReadAloud::AdvanceChapter()
{
    if (stopAtChapterEnd_)
        return false;
    advancing_ = true;
    session_.OnContentPagedPast(1);
    advancing_ = false;
    const int shown = session_.ShownChapter();
    if (shown == chapter_)
        return false;
    chapter_ = shown;
    text_ = session_.Book().ShownChapterText(shown);
    sentences_ = SplitSentences(text_);
    index_ = 0;
    return true;
}

void ReadAloud::OnSentenceSpoken()
{
    if (state_ != State::Reading)
        return;
    ++index_;
    SpeakNext();
}

void ReadAloud::OnChapterChanged()
{
    if (!advancing_)
        Stop();
}

void ReadAloud::OnTextReshown()
{
    if (state_ != State::Reading && state_ != State::Paused)
        return;
    const qsizetype reading = index_ < sentences_.size() ? sentences_[index_].position : text_.size();
    text_ = session_.Book().ShownChapterText(chapter_);
    sentences_ = SplitSentences(text_);
    index_ = 0;
    while (index_ + 1 < sentences_.size() && sentences_[index_ + 1].position <= reading)
        ++index_;
    if (index_ < sentences_.size())
        Q_EMIT markRequested(sentences_[index_].position, sentences_[index_].length);
}

int ReadAloud::Rate() const
{
    return qBound(kSlowest, session_.Prefs().Values().speechRate, kFastest);
}

void ReadAloud::SetRate(int tenths)
{
    const int rate = qBound(kSlowest, tenths, kFastest);
    const bool differs = rate != session_.Prefs().Values().speechRate;
    session_.Prefs().Set(&Settings::speechRate, rate);
    engine_.SetRate(rate / double(kFastest));
    if (differs)
        Q_EMIT rateChanged(rate);
}

QStringList ReadAloud::Voices() const
{
    return engine_.Voices();
}

QString ReadAloud::Voice() const
{
    return engine_.Voice();
}

void ReadAloud::SetVoice(const QString &name)
{
    const QString before = engine_.Voice();
    engine_.SetVoice(name);
    session_.Prefs().Set(&Settings::voice, engine_.Voice());
    if (engine_.Voice() != before)
        Q_EMIT voiceChanged(engine_.Voice());
}

void ReadAloud::StopAfter(std::chrono::milliseconds after)
{
    sleepAfter_ = after;
    sleep_.stop();
    if (IsOn() && after.count() > 0)
        sleep_.start(after);
}

void ReadAloud::StopAtChapterEnd(bool on)
{
    stopAtChapterEnd_ = on;
}
