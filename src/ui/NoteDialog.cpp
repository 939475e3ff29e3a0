#include "ui/NoteDialog.h"

#include "ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// How much of the highlighted text the window quotes.
constexpr qsizetype kQuotedLength = 200;

class NoteDialog : public QDialog {
public:
    NoteDialog(QWidget *parent, const QString &title, const QString &excerpt, const QString &note)
        : QDialog(parent), note_(new QPlainTextEdit(note, this))
    {
        setWindowTitle(title);
        const QString quoted = excerpt.size() > kQuotedLength ? excerpt.left(kQuotedLength) + u'…' : excerpt;
        auto *quote = new QLabel(quoted, this);
        quote->setWordWrap(true);
        quote->setTextFormat(Qt::PlainText);
        note_->setAccessibleName(QStringLiteral("笔记"));
        note_->setTabChangesFocus(true);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(quote);
        layout->addWidget(note_);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        // Enter starts a new line of the note; Ctrl+Enter keeps it.
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this, this, &QDialog::accept);
        note_->setFocus();
    }

    QString Note() const { return note_->toPlainText(); }

private:
    QPlainTextEdit *note_;
};

} // namespace

std::optional<QString> AskNote(QWidget *parent, const QString &title, const QString &excerpt, const QString &note)
{
    std::optional<QString> entered;
    RunModalDialog(new NoteDialog(parent, title, excerpt, note),
                   [&entered](const NoteDialog &dialog) { entered = dialog.Note(); });
    return entered;
}
