#pragma once
// A list view with the operations the window code uses, over a list of texts
// (core/TextListModel.h) that it shows and does not own. Only the user's own
// selections (mouse or keyboard) raise userSelectionChanged: selections made
// from code do not, nor do changes of the model's rows (a title removed, a
// list filled anew). The list may show its model through a proxy that
// filters and sorts it: the rows it speaks of stay the model's all the same.
#include <QListView>

class QAbstractProxyModel;
class TextListModel;

class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Shows the model, or `shown`, a proxy over it, in its place.
    void SetModel(TextListModel *model, QAbstractProxyModel *shown = nullptr);
    // The model's rows, shown or not.
    int Count() const;
    // The item's whole text; empty for an index that names no item.
    QString ItemText(int index) const;
    // 0-based index of the current selection, -1 when nothing is selected.
    int Selection() const;
    // Selects an item (-1, an index out of range or an item the proxy does
    // not show clears the selection).
    void SetSelection(int index);
    // The text and background colours (0x00BBGGRR); the selection is marked
    // in a blend of the two, readable on light and dark backgrounds alike.
    void SetColours(int textColour, int backgroundColour);

Q_SIGNALS:
    void userSelectionChanged(int index);
    void keyReleased(int virtualKey, int modifiers);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The keys arriving on a list with no current item make its first item
    // current, as the user's choice.
    void focusInEvent(QFocusEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // A right click opens the list's menu and selects nothing.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Runs the view's own handling of a user's act, whose selections are the
    // user's.
    template <typename Handling>
    void AsUser(Handling handling);
    // The shown item of a model's row, and the model's row of a shown item
    // (invalid, -1: none).
    QModelIndex ShownIndex(int row) const;
    int RowOf(const QModelIndex &shown) const;

    TextListModel *rows_ = nullptr;
    QAbstractProxyModel *shown_ = nullptr;
    bool userActing_ = false;
};
