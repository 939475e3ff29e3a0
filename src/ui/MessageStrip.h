#pragma once
// The strip below the reading pane. It stands for where the reader is (the
// standing text) and, for a few seconds at a time, says why something the
// user asked for did not happen, without a dialog; a new message replaces the
// one shown.
#include <QLabel>
#include <QTimer>

class MessageStrip : public QLabel {
public:
    explicit MessageStrip(QWidget *parent = nullptr);

    // The text shown whenever no message is.
    void SetStandingText(const QString &text);
    // Shows the message (a screen reader hears it) for `ms`, then the
    // standing text again.
    void ShowMessage(const QString &message, int ms = 6000);

private:
    void Show(const QString &text);

    QString standing_;
    QTimer message_;
};
