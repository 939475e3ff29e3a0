#pragma once
// A list of texts as a model for a list view, one text a row, in the order
// given. A text longer than any list is wide is shown cut (drawing an item
// measures all of its text: a heading line of millions of characters took
// seconds for every repaint of the list); FullTextRole gives it whole. A
// screen reader reads it without the line end a chapter title keeps.
#include <QAbstractListModel>
#include <QStringList>

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kFullTextRole = Qt::UserRole + 1;
    // Characters shown of a text; the rest is cut off with "…".
    static constexpr qsizetype kLongestShownText = 200;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int Count() const { return int(texts_.size()); }
    // The whole text of a row; empty for a row that is none.
    QString Text(int row) const { return texts_.value(row); }
    // The first row holding exactly `text`; -1 when none does.
    int RowOf(const QString &text) const { return int(texts_.indexOf(text)); }

protected:
    // Replaces every row with these, in one reset.
    void SetTexts(const QStringList &texts);
    // Adds these rows after the last.
    void AppendTexts(const QStringList &texts);
    // Puts the text in at that row (0 to Count()), the rows from there on
    // moving down one.
    void InsertText(int row, const QString &text);
    // Removes one row; a row that is none is left alone.
    void RemoveText(int row);

private:
    QStringList texts_;
};

// The text as a list shows it: cut at kLongestShownText characters (never
// between the halves of a surrogate pair) with "…" added.
QString ShownListText(const QString &text);
