#include "app/ReadAloudMenu.h"

#include "app/MenuItem.h"
#include "session/ReadAloud.h"
#include "tools/FullScreen.h"
#include "ui/MessageStrip.h"

#include <QActionGroup>

namespace {

using std::chrono::minutes;

// 语速: each step a tenth of the engine's range; the strip tells the speed.
void FillRateMenu(QMenu *rates, ReadAloud &aloud, MessageStrip &strip)
{
    AddMenuItem(rates, QStringLiteral("加快"), [&aloud] { aloud.SetRate(aloud.Rate() + 1); });
    AddMenuItem(rates, QStringLiteral("减慢"), [&aloud] { aloud.SetRate(aloud.Rate() - 1); });
    QObject::connect(&aloud, &ReadAloud::rateChanged, &strip,
                     [&strip](int tenths) { strip.ShowMessage(QStringLiteral("朗读语速：%1").arg(tenths)); });
}

// 声音: the engine's voices, once it is ready, the one in use checked.
void FillVoiceMenu(QMenu *voices, ReadAloud &aloud)
{
    auto *group = new QActionGroup(voices);
    const auto fill = [voices, group, &aloud] {
        voices->clear();
        for (const QString &name : aloud.Voices()) {
            QAction *item = AddMenuItem(voices, name, [&aloud, name] { aloud.SetVoice(name); });
            item->setCheckable(true);
            item->setChecked(name == aloud.Voice());
            group->addAction(item);
        }
    };
    QObject::connect(&aloud, &ReadAloud::voicesChanged, voices, fill);
    QObject::connect(&aloud, &ReadAloud::voiceChanged, voices, fill);
}

// 定时停止: one choice at a time, 关闭 at first.
void FillSleepTimerMenu(QMenu *timer, ReadAloud &aloud)
{
    auto *group = new QActionGroup(timer);
    const auto add = [&](const QString &text, minutes after, bool atChapterEnd) {
        QAction *item = AddMenuItem(timer, text, [&aloud, after, atChapterEnd] {
            aloud.StopAfter(after);
            aloud.StopAtChapterEnd(atChapterEnd);
        });
        item->setCheckable(true);
        group->addAction(item);
        return item;
    };
    for (const int length : {15, 30, 60})
        add(QStringLiteral("%1 分钟").arg(length), minutes(length), false);
    add(QStringLiteral("本章结束"), minutes(0), true);
    add(QStringLiteral("关闭"), minutes(0), false)->setChecked(true);
}

} // namespace

void FillReadAloudMenu(QMenu *menu, ReadAloud &aloud, MessageStrip &strip)
{
    AddMenuItem(menu, QStringLiteral("开始朗读"), [&aloud] { aloud.StartOrPause(); })->setShortcut(Qt::Key_F5);
    // F5 and Esc belong to 开始朗读 and the window; these show them only.
    QAction *pause = AddMenuItem(menu, QStringLiteral("暂停 / 继续\tF5"), [&aloud] { aloud.TogglePause(); });
    QAction *stop = AddMenuItem(menu, QStringLiteral("停止\tEsc"), [&aloud] { aloud.Stop(); });
    menu->addSeparator();
    FillRateMenu(menu->addMenu(QStringLiteral("语速")), aloud, strip);
    FillVoiceMenu(menu->addMenu(QStringLiteral("声音")), aloud);
    FillSleepTimerMenu(menu->addMenu(QStringLiteral("定时停止")), aloud);
    const auto follow = [pause, stop](ReadAloud::State state) {
        pause->setEnabled(state == ReadAloud::State::Reading || state == ReadAloud::State::Paused);
        stop->setEnabled(state != ReadAloud::State::Off);
    };
    follow(aloud.CurrentState());
    QObject::connect(&aloud, &ReadAloud::stateChanged, menu, follow);
    QObject::connect(menu, &QMenu::aboutToShow, &aloud, &ReadAloud::PrepareEngine);
    QObject::connect(&aloud, &ReadAloud::unavailable, menu, [menu, &strip](const QString &reason) {
        for (QAction *item : menu->actions())
            item->setEnabled(false);
        strip.ShowMessage(reason);
    });
}

void OnEscapeKey(QWidget &window, ReadAloud &aloud)
{
    if (aloud.IsOn())
        aloud.Stop();
    else
        OnLeaveFullScreen(window);
}
