#pragma once
// 朗读: the open book read aloud sentence by sentence from the first visible
// line, the sentence being read marked in the pane and kept in view, into
// the next chapter at the end of one (as Space does) until the book's end or
// the sleep timer. Choosing another chapter or book stops it where it is, and
// so does Stop, which the views call when the user scrolls by hand; hiding
// the window does not. The text spoken is the text the pane shows (its
// script). The speed and voice are kept in config.ini. The place is saved as
// the pane moves on (see PlaceSaver) and when reading stops.
#include "core/Sentences.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class ReadingSession;
class SpeechEngine;

class ReadAloud : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Starting, Reading, Paused };
    // The speed in tenths of the engine's range: -10 slowest, 10 fastest.
    static constexpr int kSlowest = -10;
    static constexpr int kFastest = 10;

    // Follows the session's chapter shown; the engine outlives it.
    ReadAloud(ReadingSession &session, SpeechEngine &engine, QObject *parent = nullptr);

    State CurrentState() const { return state_; }
    bool IsOn() const { return state_ != State::Off; }
    // False once the engine failed; UnavailableReason() says why in one line.
    bool IsAvailable() const;
    QString UnavailableReason() const;
    // Starts the engine, without waiting for it, so that its voices are
    // known by the time they are asked for.
    void PrepareEngine();

    // With a book open and reading off, reading starts from the pane's first
    // visible line, as soon as the engine is ready; while reading it
    // pauses, and while paused it goes on (TogglePause).
    void StartOrPause();
    // 暂停 ends the sentence being spoken and keeps it (and its mark); 继续
    // speaks it again from its start and reads on.
    void TogglePause();
    // Stops reading and removes the mark; does nothing when off.
    void Stop();

    // The speed config.ini holds, brought into its range.
    int Rate() const;
    // Sets the speed, brought into its range, for the engine and config.ini.
    void SetRate(int tenths);
    QStringList Voices() const;
    QString Voice() const;
    void SetVoice(const QString &name);

    // 定时停止: reading stops `after` from now, or from its start when off
    // (0: no time limit).
    void StopAfter(std::chrono::milliseconds after);
    // 本章结束: reading stops at the end of the chapter it is in.
    void StopAtChapterEnd(bool on);
    // The pane shows the chapter anew (another script or typography): the
    // sentences go by the text shown now, and the one being read is marked
    // again; the utterance under way goes on.
    void OnTextReshown();

Q_SIGNALS:
    void stateChanged(ReadAloud::State state);
    void rateChanged(int tenths);
    void voiceChanged(const QString &name);
    // The engine is ready and its voices are known.
    void voicesChanged();
    // The engine failed: 朗读 is unavailable, for that reason.
    void unavailable(const QString &reason);
    // The pane is to mark that stretch of its text without selecting it,
    // scrolling its first line to the top when it is not wholly in view; a
    // length of 0 removes the mark.
    void markRequested(qsizetype position, qsizetype length);

private:
    void SetState(State state);
    void OnEngineReady();
    void OnEngineFailed(const QString &reason);
    // From the first visible line of the chapter shown, the engine ready.
    void BeginReading();
    void BeginAt(int chapter, qsizetype from);
    // Speaks the sentence at index_, going on into the next chapters while
    // the one read has none left; stops at the book's end.
    void SpeakNext();
    bool AdvanceChapter();
    void OnSentenceSpoken();
    void OnChapterChanged();

    ReadingSession &session_;
    SpeechEngine &engine_;
    State state_ = State::Off;
    int chapter_ = -1;
    QString text_;
    QList<TextSpan> sentences_;
    qsizetype index_ = 0;
    bool advancing_ = false;
    bool stopAtChapterEnd_ = false;
    std::chrono::milliseconds sleepAfter_{0};
    QTimer sleep_;
};
