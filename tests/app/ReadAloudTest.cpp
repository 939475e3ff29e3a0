#include "session/ReadAloud.h"
#include "app/ReadAloudMenu.h"
#include "app/ViewBindings.h"
#include "core/BookKey.h"
#include "core/BookStore.h"
#include "core/CodePage.h"
#include "core/Typography.h"
#include "platform/SpeechEngine.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "ui/EditBox.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An engine without sound: it keeps what it was told and finishes an
// utterance when the test says so.
class FakeSpeech : public SpeechEngine {
public:
    QStringList said;
    int stops = 0;
    QString failWith;

    void Start() override
    {
        if (CurrentState() != State::NotStarted)
            return;
        SetStarting();
        QTimer::singleShot(0, this, [this] { failWith.isEmpty() ? SetReady() : SetFailed(failWith); });
    }
    void Say(const QString &text) override { said.append(text); }
    void Stop() override { ++stops; }
    void SetRate(double) override {}
    QStringList Voices() const override { return {u"普通话（zh）"_s}; }
    void SetVoice(const QString &) override {}
    QString Voice() const override { return u"普通话（zh）"_s; }
    // The utterance under way has been spoken.
    void Finish() { Q_EMIT finished(); }
};

const QString kChapterOne = u"第一章 山门\r\n\u3000\u3000“你来了？”老人问。少年点头……\r\n"_s;
const QString kChapterTwo = u"第二章 下山\r\n\u3000\u3000天亮了。\r\n"_s;

// The text under the pane's mark.
QString Marked(const EditBox &pane)
{
    const QList<QTextEdit::ExtraSelection> marks = pane.extraSelections();
    return marks.isEmpty() ? QString() : marks.first().cursor.selectedText();
}

} // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        reader_ = std::make_unique<ReaderFixture>();
        const QString prose = u"\u3000\u3000夜色里，河水一路向东流去。岸边的灯一盏一盏亮起来。\r\n"_s.repeated(40);
        reader_->AddBook(u"a.txt"_s,
                         EncodeCodePage(u"书\r\n"_s + kChapterOne + kChapterTwo + u"第三章 长夜\r\n"_s + prose));
        reader_->WriteSettings({u"Config/路径="_s + reader_->BookFolder() + u'/', u"Config/书=0"_s, u"Config/章=1"_s});
        reader_->Start();
        speech_ = std::make_unique<FakeSpeech>();
        aloud_ = std::make_unique<ReadAloud>(reader_->Session(), *speech_);
        BindReadAloud(*reader_->Controls().编辑框_内容, *aloud_);
    }
    void cleanup()
    {
        aloud_.reset();
        speech_.reset();
        reader_.reset();
    }

    // Sentence after sentence, each marked in the pane, on into the next
    // chapter from its top; the place is saved when reading stops.
    void reading_speaksEachSentenceMarked_andGoesOnIntoTheNextChapter()
    {
        EditBox &pane = *reader_->Controls().编辑框_内容;
        aloud_->StartOrPause();
        QTRY_COMPARE(aloud_->CurrentState(), ReadAloud::State::Reading);
        const QStringList expected{u"第一章 山门"_s, u"“你来了？”"_s,  u"老人问。"_s,
                                   u"少年点头……"_s,  u"第二章 下山"_s, u"天亮了。"_s};
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(speech_->said.size(), i + 1);
            QCOMPARE(speech_->said.last(), expected[i]);
            QCOMPARE(Marked(pane), expected[i]);
            QCOMPARE(reader_->Session().ShownChapter(), i < 4 ? 1 : 2);
            speech_->Finish();
        }
        QCOMPARE(reader_->Session().ShownChapter(), 3);
        aloud_->Stop();
        QCOMPARE(Marked(pane), QString());
        QCOMPARE(reader_->Session().Store().Find(BookKey(reader_->BookFolder(), u"a.txt"_s))->chapter, 3);
    }

    // Reading begins at the first sentence that starts on the first visible
    // line or after it.
    void start_beginsAtTheFirstVisibleLine()
    {
        reader_->ShowChapter(3);
        EditBox &pane = *reader_->Controls().编辑框_内容;
        pane.ScrollLines(10);
        const qsizetype top = pane.FirstVisibleTextPosition();
        QVERIFY(top > 0);
        aloud_->StartOrPause();
        QTRY_COMPARE(speech_->said.size(), 1);
        const QString chapter = reader_->Session().Book().ShownChapterText(3);
        const qsizetype at = chapter.indexOf(speech_->said.first(), top);
        QVERIFY(at >= top);
        // At most the end of a sentence begun above the line is passed over.
        QVERIFY(chapter.mid(top, at - top).count(u'。') <= 1);
        QCOMPARE(pane.FirstVisibleTextPosition(), top);
    }

    // Another chapter chosen, the wheel, the scroll bar or Esc stop reading
    // where the reader went; hiding the window does not.
    void interruptions_stopByHand_butNotOnHide()
    {
        EditBox &pane = *reader_->Controls().编辑框_内容;
        const auto start = [this] {
            aloud_->StartOrPause();
            QTRY_COMPARE(aloud_->CurrentState(), ReadAloud::State::Reading);
        };
        start();
        reader_->ShowChapter(3);
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        QCOMPARE(reader_->Session().ShownChapter(), 3);
        start();
        QWheelEvent wheel(QPointF(10, 10), pane.mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(pane.viewport(), &wheel);
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        start();
        pane.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        start();
        OnEscapeKey(*reader_->Controls().mainWindow, *aloud_);
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        start();
        reader_->Controls().mainWindow->hide();
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Reading);
    }

    // F5 pauses by ending the sentence under way, which stays marked, and
    // goes on by saying it again from its start, then the next one; after
    // 停止 F5 reads again.
    void pauseAndContinue_sayTheSentenceAgain_andReadOn()
    {
        EditBox &pane = *reader_->Controls().编辑框_内容;
        aloud_->StartOrPause();
        QTRY_COMPARE(speech_->said.size(), 1);
        speech_->Finish();
        QCOMPARE(speech_->said, QStringList({u"第一章 山门"_s, u"“你来了？”"_s}));
        const int stops = speech_->stops;
        aloud_->StartOrPause();
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Paused);
        QCOMPARE(speech_->stops, stops + 1);
        QCOMPARE(Marked(pane), u"“你来了？”"_s);
        // The utterance stopped is not read on from.
        speech_->Finish();
        QCOMPARE(speech_->said.size(), 2);
        aloud_->StartOrPause();
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Reading);
        QCOMPARE(speech_->said, QStringList({u"第一章 山门"_s, u"“你来了？”"_s, u"“你来了？”"_s}));
        speech_->Finish();
        QCOMPARE(speech_->said.last(), u"老人问。"_s);
        QCOMPARE(Marked(pane), u"老人问。"_s);
        aloud_->Stop();
        aloud_->StartOrPause();
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Reading);
        QCOMPARE(speech_->said.size(), 5);
        QCOMPARE(speech_->said.last(), u"第一章 山门"_s);
    }

    // 本章结束 stops at the chapter's end without showing the next one; a
    // time limit stops reading once it has passed.
    void sleepTimer_stopsAtChapterEndOrAfterTheTime()
    {
        aloud_->StopAtChapterEnd(true);
        aloud_->StartOrPause();
        QTRY_COMPARE(speech_->said.size(), 1);
        for (int i = 0; i < 4; ++i)
            speech_->Finish();
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        QCOMPARE(reader_->Session().ShownChapter(), 1);
        aloud_->StopAtChapterEnd(false);
        aloud_->StopAfter(std::chrono::milliseconds(50));
        aloud_->StartOrPause();
        QTRY_COMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
    }

    // The text spoken is the text shown, in the script the reader chose,
    // also when it is chosen while reading; the sentence being read stays
    // marked across that and a change of typography.
    void spokenText_isInTheScriptShown()
    {
        EditBox &pane = *reader_->Controls().编辑框_内容;
        aloud_->StartOrPause();
        QTRY_COMPARE(speech_->said.size(), 1);
        speech_->Finish();
        QCOMPARE(speech_->said.last(), u"“你来了？”"_s);
        reader_->Session().OnChooseScript(ScriptConversion::ToTraditional);
        QCOMPARE(Marked(pane), u"“你來了？”"_s);
        Typography spaced;
        spaced.lineSpacing = 2.0;
        pane.SetTextTypography(spaced);
        QCOMPARE(Marked(pane), u"“你來了？”"_s);
        speech_->Finish();
        QCOMPARE(speech_->said.last(), u"老人問。"_s);
    }

    // A failing service: reading does not start, and the reason is told.
    void failingEngine_isUnavailableWithItsReason()
    {
        speech_->failWith = u"朗读不可用：没有语音服务"_s;
        QSignalSpy unavailable(aloud_.get(), &ReadAloud::unavailable);
        aloud_->StartOrPause();
        QTRY_COMPARE(unavailable.count(), 1);
        QCOMPARE(unavailable.first().first().toString(), speech_->failWith);
        QCOMPARE(aloud_->CurrentState(), ReadAloud::State::Off);
        QVERIFY(!aloud_->IsAvailable());
        aloud_->StartOrPause();
        QCOMPARE(unavailable.count(), 2);
        QVERIFY(speech_->said.isEmpty());
    }

private:
    std::unique_ptr<ReaderFixture> reader_;
    std::unique_ptr<FakeSpeech> speech_;
    std::unique_ptr<ReadAloud> aloud_;
};

FOLIVAR_TEST(ReadAloudTest)

#include "ReadAloudTest.moc"
