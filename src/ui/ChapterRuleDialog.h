#pragma once
// The dialog for a chapter rule of the reader's own: a field for the
// expression, what it finds in the open book (how many headings and the
// first of them, or why it cannot be used), OK and Cancel. It checks nothing
// itself: once typing pauses it announces the expression in the field, and
// shows the result it is handed for it.
#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

class ChapterRuleDialog : public QDialog {
    Q_OBJECT
public:
    // Opens with `pattern` in the field; its check is asked for as for any
    // expression typed.
    ChapterRuleDialog(const QString &pattern, QWidget *parent);

    QString Pattern() const;
    // The result for `pattern`, dropped when the field holds another one by
    // now. `problem` empty: the expression may be used; OK stays disabled
    // until then.
    void ShowCheck(const QString &pattern, const QString &problem, int found, const QStringList &firstTitles);

Q_SIGNALS:
    // The expression to check: the one the dialog opened with, and each one
    // the reader leaves in the field for a moment.
    void patternSettled(const QString &pattern);

public Q_SLOTS:
    // An expression that finds no heading is taken only when OK is pressed a
    // second time, after a warning.
    void accept() override;

private:
    void OnEdited();

    QLineEdit *field_;
    QLabel *message_;
    QListWidget *preview_;
    QDialogButtonBox *buttons_;
    QTimer *settle_;
    int found_ = 0;
    bool warnedOfNothingFound_ = false;
};
