#include "ui/MessageStrip.h"

MessageStrip::MessageStrip(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    clear_.setSingleShot(true);
    connect(&clear_, &QTimer::timeout, this, &QLabel::clear);
}

void MessageStrip::ShowMessage(const QString &message, int ms)
{
    setText(message);
    clear_.start(ms);
}
