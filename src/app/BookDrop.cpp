#include "app/BookDrop.h"

#include "app/BookFromOutside.h"
#include "session/ReadingSession.h"
#include "ui/EditBox.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

namespace {

enum class Dropped { Nothing, Book, Folder };

// What the drop holds: its first item, when a local book file or folder.
std::pair<Dropped, QString> WhatIsDropped(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {Dropped::Nothing, {}};
    const QString path = BookPathOf(urls.first());
    if (QFileInfo(path).isDir())
        return {Dropped::Folder, path};
    return {CheckBookFile(path) == BookFileProblem::None ? Dropped::Book : Dropped::Nothing, path};
}

} // namespace

BookDrop::BookDrop(QWidget &window, EditBox &pane, ReadingSession &session, MessageStrip &strip)
    : QObject(&window), session_(session), strip_(strip)
{
    // The read-only pane would otherwise take the drags over it and refuse them.
    pane.setAcceptDrops(false);
    pane.viewport()->setAcceptDrops(false);
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool BookDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const auto [what, path] = WhatIsDropped(drop->mimeData());
    if (what == Dropped::Nothing) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type != QEvent::Drop)
        return true;
    if (what == Dropped::Book)
        OpenBookFromOutside(session_, strip_, path);
    else
        session_.OnOpenFolder(path);
    return true;
}
