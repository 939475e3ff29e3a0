#include "ui/ListWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

ListWindow::ListWindow(const QString &title, bool withTermField, QWidget *parent)
    : QDialog(parent), summary_(new QLabel(this)), list_(new QListWidget(this))
{
    setWindowTitle(title);
    setModal(false);
    resize(480, 420);
    auto *layout = new QVBoxLayout(this);
    if (withTermField) {
        term_ = new QLineEdit(this);
        term_->setObjectName(QStringLiteral("term"));
        layout->addWidget(term_);
        connect(term_, &QLineEdit::returnPressed, this, [this] { Q_EMIT termEntered(term_->text()); });
    }
    layout->addWidget(summary_);
    layout->addWidget(list_);
    list_->setUniformItemSizes(true);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { Q_EMIT itemPicked(list_->row(item)); });
}

void ListWindow::SetItems(const QStringList &items, const QString &summary)
{
    const QSignalBlocker blocker(list_);
    list_->clear();
    list_->addItems(items);
    summary_->setText(summary);
}

int ListWindow::ItemCount() const
{
    return list_->count();
}

void ListWindow::ShowInFront()
{
    show();
    raise();
    activateWindow();
    if (term_) {
        term_->setFocus();
        term_->selectAll();
    } else {
        list_->setFocus();
    }
}

QPushButton *ListWindow::AddButton(const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    layout()->addWidget(button);
    return button;
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete && list_->currentRow() >= 0) {
        Q_EMIT itemDeleteRequested(list_->currentRow());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
