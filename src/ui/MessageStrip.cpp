#include "ui/MessageStrip.h"

MessageStrip::MessageStrip(QWidget *parent) : QLabel(parent)
{
    setAccessibleName(QStringLiteral("阅读进度"));
    setTextFormat(Qt::PlainText);
    message_.setSingleShot(true);
    connect(&message_, &QTimer::timeout, this, [this] { Show(standing_); });
}

void MessageStrip::SetStandingText(const QString &text)
{
    standing_ = text;
    if (!message_.isActive())
        Show(text);
}

void MessageStrip::ShowMessage(const QString &message, int ms)
{
    Show(message);
    message_.start(ms);
}

// The name says what the strip is; the description what it says now.
void MessageStrip::Show(const QString &text)
{
    setText(text);
    setAccessibleDescription(text);
}
