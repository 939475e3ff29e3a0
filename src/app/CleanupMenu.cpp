#include "app/CleanupMenu.h"

#include "app/MenuItem.h"
#include "core/CleanupPreview.h"
#include "session/ReadingSession.h"
#include "ui/CleanupRulesDialog.h"
#include "ui/MessageStrip.h"
#include "ui/ReaderControls.h"

#include <QtConcurrent>

namespace {

// Changes show at once and are kept only when confirmed; 取消 puts back the
// rules the window opened with.
void OnEditCleanupRules(ReadingSession &session, QWidget *window)
{
    TextCleanup &cleanup = session.Cleanup();
    const QList<CleanupRule> before = cleanup.Rules();
    CleanupRulesHooks hooks;
    hooks.fileName = session.HasBook() ? session.Book().fileName : QString();
    hooks.preview = [text = session.Book().BookText](const CleanupRule &rule) {
        return QtConcurrent::run(CleanupPreviewLine, rule, text);
    };
    hooks.changed = [&cleanup](const QList<CleanupRule> &rules) { cleanup.SetRules(rules, false); };
    const std::optional<QList<CleanupRule>> confirmed = RunCleanupRulesDialog(window, before, std::move(hooks));
    if (confirmed)
        cleanup.SetRules(*confirmed, true);
    else
        cleanup.SetRules(before, false);
}

} // namespace

void AddCleanupItems(QMenu *reading, ReadingSession &session, const ReaderControls &c)
{
    AddMenuItem(reading, QStringLiteral("净化规则…"), [&session, &c] {
        OnEditCleanupRules(session, c.mainWindow);
    })->setShortcut(Qt::CTRL | Qt::Key_R);
    TextCleanup &cleanup = session.Cleanup();
    QAction *original = AddMenuItem(reading, QStringLiteral("显示原文"),
                                    [&cleanup] { cleanup.SetShowsOriginal(!cleanup.ShowsOriginal()); });
    original->setCheckable(true);
    QObject::connect(&cleanup, &TextCleanup::showsOriginalChanged, original, &QAction::setChecked);
    QObject::connect(reading, &QMenu::aboutToShow, original,
                     [original, &cleanup] { original->setChecked(cleanup.ShowsOriginal()); });
    MessageStrip &strip = *c.标签_提示;
    QObject::connect(&cleanup, &TextCleanup::switchedOff, &strip,
                     [&strip](const QString &message) { strip.ShowMessage(message); });
}
