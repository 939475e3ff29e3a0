#pragma once
// A list control with the operations the handlers use. Selections, insertions
// and removals made from code raise no userSelectionChanged; only the user's
// own selections (mouse or keyboard) do.
#include <QListWidget>

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    int Count() const;
    // The item's text; empty for an index that names no item.
    QString ItemText(int index) const;
    void AddItem(const QString &text);
    // Replaces every item with these, in order, selecting none.
    void SetItems(const QStringList &texts);
    void DeleteItem(int index);
    void DeleteAll();
    // 0-based index of the current selection, -1 when nothing is selected.
    int Selection() const;
    // Selects an item (-1 or an index out of range clears the selection).
    void SetSelection(int index);
    // The text and background colours (0x00BBGGRR); the selection is marked
    // in a blend of the two, readable on light and dark backgrounds alike.
    void SetColours(int textColour, int backgroundColour);

Q_SIGNALS:
    void userSelectionChanged(int index);
    void keyReleased(int virtualKey, int modifiers);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    // A right click opens the list's menu and selects nothing.
    void mousePressEvent(QMouseEvent *event) override;
};
