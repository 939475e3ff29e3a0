#include "ui/LibrarySearchWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

LibrarySearchWindow::LibrarySearchWindow(QAbstractItemModel *results, QWidget *parent)
    : QDialog(parent), term_(new QLineEdit(this)), summary_(new QLabel(this)),
      stop_(new QPushButton(QStringLiteral("停止"), this)), list_(new QListView(this))
{
    setWindowTitle(QStringLiteral("在书库中查找"));
    setModal(false);
    resize(560, 480);
    term_->setObjectName(QStringLiteral("term"));
    // Enter in the field searches; it must not press 停止 as a default button.
    stop_->setAutoDefault(false);
    stop_->setEnabled(false);
    list_->setModel(results);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *top = new QHBoxLayout;
    top->addWidget(term_);
    top->addWidget(stop_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    connect(term_, &QLineEdit::returnPressed, this, [this] { Q_EMIT termEntered(term_->text()); });
    connect(stop_, &QPushButton::clicked, this, &LibrarySearchWindow::stopRequested);
    connect(list_, &QListView::activated, this, [this](const QModelIndex &index) { Q_EMIT rowPicked(index.row()); });
}

void LibrarySearchWindow::ShowInFront()
{
    show();
    raise();
    activateWindow();
    term_->setFocus();
    term_->selectAll();
}

void LibrarySearchWindow::ShowProgress(const QString &summary, bool running)
{
    summary_->setText(summary);
    stop_->setEnabled(running);
}
