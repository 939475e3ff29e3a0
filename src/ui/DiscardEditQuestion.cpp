#include "ui/DiscardEditQuestion.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

bool AskDiscardEdit(QWidget *window)
{
    const QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, QStringLiteral("编辑本章"),
                                                      QStringLiteral("放弃修改？"), QMessageBox::NoButton, window);
    const QPushButton *discard = box->addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
    QPushButton *keep = box->addButton(QStringLiteral("继续编辑"), QMessageBox::RejectRole);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    box->exec();
    if (!box)
        return false;
    const bool discarded = box->clickedButton() == discard;
    delete box.data();
    return discarded;
}
