#pragma once
// The strip below the reading pane where the reader says, briefly and without
// a dialog, why something the user asked for did not happen. A message stays
// a few seconds, then the strip is empty again; a new one replaces it.
#include <QLabel>
#include <QTimer>

class MessageStrip : public QLabel {
public:
    explicit MessageStrip(QWidget *parent = nullptr);

    // Shows the message (a screen reader hears it) and clears it after `ms`.
    void ShowMessage(const QString &message, int ms = 6000);

private:
    QTimer clear_;
};
