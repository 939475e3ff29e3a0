#include "ui/HotKeyDialog.h"

#include "ui/ModalDialog.h"
#include "ui/VirtualKey.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr Qt::KeyboardModifiers kCombinationModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier | Qt::KeypadModifier;

// Keys that only change what another key means.
bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// Holds one combination, the last one pressed, taken as the key event gives
// it rather than as QKeySequenceEdit records sequences (which drops Shift
// from Shift+1). Enter and Esc alone go on to the dialog.
class HotKeyEdit : public QKeySequenceEdit {
public:
    using QKeySequenceEdit::QKeySequenceEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int key = event->key();
        const Qt::KeyboardModifiers modifiers = event->modifiers() & kCombinationModifiers;
        const bool alone = (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (alone && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
            event->ignore();
            return;
        }
        if (!IsModifierKey(key))
            setKeySequence(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
        event->accept();
    }
};

class HotKeyDialog : public QDialog {
public:
    HotKeyDialog(QWidget *parent, const QKeySequence &current)
        : QDialog(parent), edit_(new HotKeyEdit(current, this)), answer_(new QLabel(this)),
          buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    {
        setWindowTitle(QStringLiteral("热键"));
        auto *prompt = new QLabel(QStringLiteral("隐藏/显示阅读器的热键（按下新的组合键）："), this);
        prompt->setBuddy(edit_);
        edit_->setAccessibleName(QStringLiteral("热键"));
        auto *none = new QPushButton(QStringLiteral("无"), this);
        none->setAutoDefault(false);
        buttons_->button(QDialogButtonBox::Ok)->setDefault(true);
        auto *field = new QHBoxLayout;
        field->addWidget(edit_);
        field->addWidget(none);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(prompt);
        layout->addLayout(field);
        layout->addWidget(answer_);
        layout->addWidget(buttons_);
        connect(none, &QPushButton::clicked, edit_, &QKeySequenceEdit::clear);
        connect(edit_, &QKeySequenceEdit::keySequenceChanged, this, &HotKeyDialog::Check);
        connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
        edit_->setFocus();
        Check();
    }

    QKeySequence Key() const { return edit_->keySequence(); }

private:
    void Check()
    {
        const QKeySequence key = edit_->keySequence();
        const bool usable = key.isEmpty() || HotKeyCombinationOf(key[0]);
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(usable);
        if (key.isEmpty())
            answer_->setText(QStringLiteral("无：不用热键"));
        else
            answer_->setText(usable ? QString() : QStringLiteral("这个键不能用作热键"));
    }

    HotKeyEdit *edit_;
    QLabel *answer_;
    QDialogButtonBox *buttons_;
};

} // namespace

std::optional<QKeySequence> AskHotKey(QWidget *parent, const QKeySequence &current)
{
    std::optional<QKeySequence> chosen;
    RunModalDialog(new HotKeyDialog(parent, current),
                   [&chosen](const HotKeyDialog &confirmed) { chosen = confirmed.Key(); });
    return chosen;
}
