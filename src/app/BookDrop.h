#pragma once
// A file or folder dropped on the window: a book (.txt) opens as a path on the
// command line does, a folder becomes the book folder; anything else is
// refused, which the cursor shows while it is dragged over the window.
#include <QObject>

class EditBox;
class MessageStrip;
class QMimeData;
class QWidget;
class ReadingSession;

class BookDrop : public QObject {
public:
    // Takes drops anywhere on the window, the pane included.
    BookDrop(QWidget &window, EditBox &pane, ReadingSession &session, MessageStrip &strip);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ReadingSession &session_;
    MessageStrip &strip_;
};
