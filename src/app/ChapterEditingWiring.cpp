#include "app/ChapterEditingWiring.h"

#include "app/MenuItem.h"
#include "session/ReadingSession.h"
#include "ui/DiscardEditQuestion.h"
#include "ui/EditBox.h"
#include "ui/MessageStrip.h"
#include "ui/ReaderControls.h"

#include <QKeyEvent>

namespace {

// A message said while an edit is open stays until the edit ends.
constexpr int kWhileEditing = 24 * 60 * 60 * 1000;

void LeaveEdit(ChapterEditing &editing, QWidget *window)
{
    if (!editing.HasChanges() || AskDiscardEdit(window))
        editing.Leave();
}

// Takes Ctrl+S and Esc in the pane while an edit is open, before the
// window's shortcuts (Esc leaves full screen) see them.
class EditingKeys : public QObject {
public:
    EditingKeys(ChapterEditing &editing, QWidget *window, QObject *parent)
        : QObject(parent), editing_(editing), window_(window)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        if (!key || !editing_.IsOpen())
            return QObject::eventFilter(watched, event);
        const auto *press = static_cast<QKeyEvent *>(event);
        const bool save = press->matches(QKeySequence::Save);
        const bool leave = press->key() == Qt::Key_Escape && press->modifiers() == Qt::NoModifier;
        if (!save && !leave)
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress && save)
            editing_.Save();
        else if (event->type() == QEvent::KeyPress)
            LeaveEdit(editing_, window_);
        event->accept();
        return true;
    }

private:
    ChapterEditing &editing_;
    QWidget *window_;
};

void BindEditor(EditBox &pane, ChapterEditing &editing, MessageStrip &strip)
{
    editing.SetTextSource([&pane] { return pane.EditedText(); });
    QObject::connect(&editing, &ChapterEditing::editingBegan, &pane, [&pane](const QString &text, qsizetype top) {
        pane.BeginEditing(text);
        pane.ScrollToTextPosition(top);
        pane.setFocus();
    });
    QObject::connect(&editing, &ChapterEditing::editingEnded, &pane, &EditBox::EndEditing);
    // The strip's message of the edit goes with it; a later one replaces it.
    QObject::connect(&editing, &ChapterEditing::editingEnded, &strip, [&strip] { strip.ShowMessage({}, 0); });
    QObject::connect(&editing, &ChapterEditing::savingChanged, &pane, &QPlainTextEdit::setReadOnly);
    QObject::connect(&editing, &ChapterEditing::message, &strip, [&strip, &editing](const QString &text) {
        if (editing.IsOpen())
            strip.ShowMessage(text, kWhileEditing);
        else
            strip.ShowMessage(text);
    });
    pane.installEventFilter(new EditingKeys(editing, pane.window(), &pane));
}

} // namespace

void AddEditChapterItem(QMenu *reading, ReadingSession &session, const ReaderControls &controls)
{
    ChapterEditing &editing = session.Editing();
    AddMenuItem(reading, QStringLiteral("编辑本章"), [&editing] { editing.Begin(); })->setShortcut(Qt::Key_F2);
    BindEditor(*controls.编辑框_内容, editing, *controls.标签_提示);
}

bool MayCloseWhileEditing(ReadingSession &session, QWidget *window)
{
    return !session.Editing().HasChanges() || AskDiscardEdit(window);
}
