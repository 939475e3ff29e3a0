#include "session/ChapterEditing.h"

#include "core/BookStore.h"
#include "core/Log.h"
#include "session/Log.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

// Bookmarks and removed headings stand at positions of the book text.
void MoveRecordPositions(BookRecord &record, const TextChange &change)
{
    for (Bookmark &bookmark : record.bookmarks)
        bookmark.position = change.Moved(bookmark.position);
    for (ChapterHeading &heading : record.removedHeadings)
        heading.position = change.Moved(heading.position);
}

QString FailureText(const BookSaveResult &result)
{
    switch (result.outcome) {
    case BookSaveResult::ChangedOnDisk:
        return QStringLiteral("无法保存：文件已被其他程序修改");
    case BookSaveResult::TextMismatch:
        return QStringLiteral("无法保存：书的文字与文件的内容对不上（文件中有无法识别的字节）");
    case BookSaveResult::Unencodable:
        return QStringLiteral("无法保存：文件的编码不能表示修改后的文字");
    case BookSaveResult::Failed:
    case BookSaveResult::Saved:
        break;
    }
    return QStringLiteral("保存失败：%1").arg(result.reason);
}

} // namespace

ChapterEditing::ChapterEditing(ReadingSession &session) : session_(session)
{
    connect(&saving_, &QFutureWatcher<BookSaveResult>::finished, this, &ChapterEditing::OnSaved);
}

void ChapterEditing::SetTextSource(std::function<QString()> source)
{
    textSource_ = std::move(source);
}

QString ChapterEditing::EditedText() const
{
    return textSource_ ? WithLfLineEnds(textSource_()) : QString();
}

bool ChapterEditing::HasChanges() const
{
    return open_ && EditedText() != WithLfLineEnds(open_->original);
}

std::optional<ChapterEditing::Edit> ChapterEditing::EditOfShownChapter() const
{
    const OpenBook &book = session_.Book();
    const int chapter = session_.ShownChapter();
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (!session_.HasBook() || book.BookText.isEmpty() || !range || session_.BookShelf().IsLoading())
        return std::nullopt;
    const QString path = book.folder + book.fileName;
    return Edit{book.RecordKey(), chapter, *range, book.ChapterText(chapter),
                BookEdit{path, book.fileSize, book.fileModified, book.encoding, book.BookText, {}}};
}

void ChapterEditing::Begin()
{
    if (open_)
        return;
    open_ = EditOfShownChapter();
    if (!open_)
        return;
    session_.Scrolling().Stop();
    session_.Aloud().Stop();
    qCInfo(lcSession) << "editing chapter" << open_->chapter << "of" << LoggedPath(open_->bookKey);
    // The pane holds LF line ends; positions in it count a CR LF as one.
    QString text = WithLfLineEnds(open_->original);
    const qsizetype top = qBound<qsizetype>(0, session_.TopPosition(), open_->original.size());
    const qsizetype topInText = WithLfLineEnds(QStringView(open_->original).first(top)).size();
    if (const std::optional<QString> draft = TakeDraft())
        text = *draft;
    session_.OnPaneEditing(text);
    Q_EMIT editingBegan(text, qMin(topInText, text.size()));
    Q_EMIT message(QStringLiteral("编辑中：Ctrl+S 保存，Esc 放弃"));
}

QString ChapterEditing::UnencodableText(const QString &edited) const
{
    const std::optional<qsizetype> at = FirstUnencodable(edited, open_->file.encoding);
    if (!at)
        return {};
    const qsizetype lineStart = *at == 0 ? 0 : edited.lastIndexOf(u'\n', *at - 1) + 1;
    const qsizetype length = edited.at(*at).isHighSurrogate() && *at + 1 < edited.size() ? 2 : 1;
    return QStringLiteral("无法保存：%1 编码不能表示“%2”（第 %3 行第 %4 字）")
        .arg(QString::fromLatin1(open_->file.encoding.Name()), edited.mid(*at, length))
        .arg(edited.first(*at).count(u'\n') + 1)
        .arg(*at - lineStart + 1);
}

void ChapterEditing::Save()
{
    if (!open_ || IsSaving())
        return;
    const QString edited = EditedText();
    const std::optional<TextChange> change = ChangeOfEdit(open_->original, open_->range.start, edited);
    if (!change) {
        Q_EMIT message(QStringLiteral("没有修改需要保存"));
        return;
    }
    if (const QString unencodable = UnencodableText(edited); !unencodable.isEmpty()) {
        Q_EMIT message(unencodable);
        return;
    }
    BookEdit edit = open_->file;
    edit.change = *change;
    savedChange_ = *change;
    savedBookKey_ = open_->bookKey;
    savedTop_ = open_->range.start + PositionWithLineEnds(open_->original, session_.TopPosition());
    qCInfo(lcSession) << "saving an edit of chapter" << open_->chapter << "of" << LoggedPath(savedBookKey_);
    Q_EMIT savingChanged(true);
    saving_.setFuture(QtConcurrent::run([edit = std::move(edit)] { return SaveBookEdit(edit); }));
}

void ChapterEditing::OnSaved()
{
    Q_EMIT savingChanged(false);
    const BookSaveResult result = saving_.result();
    if (result.outcome != BookSaveResult::Saved) {
        qCWarning(lcSession) << "the edit of" << LoggedPath(savedBookKey_) << "was not saved:" << result.outcome
                             << result.reason;
        Q_EMIT message(FailureText(result));
        return;
    }
    qCInfo(lcSession) << "saved the edit of" << LoggedPath(savedBookKey_);
    session_.Store().Update(savedBookKey_, [this](BookRecord &record) { MoveRecordPositions(record, savedChange_); });
    MoveDrafts(savedBookKey_, savedChange_);
    if (open_ && open_->bookKey == savedBookKey_)
        Close();
    Q_EMIT message(QStringLiteral("已保存"));
    if (session_.HasBook() && session_.Book().RecordKey() == savedBookKey_)
        FollowSavedEdit(savedChange_, savedTop_);
}

void ChapterEditing::FollowSavedEdit(const TextChange &change, qsizetype bookPosition)
{
    const qsizetype moved = change.Moved(bookPosition);
    session_.ReadAgain([moved](const OpenBook &book) {
        const int chapter = qMax(0, book.ChapterAt(moved));
        const std::optional<TextRange> range = book.ChapterRange(chapter);
        return ShownPlace{chapter, 0, range ? moved - range->start : -1};
    });
}

void ChapterEditing::Leave()
{
    if (!open_ || IsSaving())
        return;
    const int chapter = open_->chapter;
    const QString original = open_->original;
    const qsizetype top = session_.TopPosition();
    const bool changed = HasChanges();
    Close();
    session_.ShowChapter(chapter);
    session_.ScrollTo(PositionWithLineEnds(original, top));
    if (changed)
        Q_EMIT message(QStringLiteral("已放弃修改"));
}

void ChapterEditing::OnPaneTaken()
{
    if (!open_)
        return;
    const QString edited = EditedText();
    const bool changed = edited != WithLfLineEnds(open_->original);
    if (changed) {
        TakeDraft();
        drafts_.append(Draft{open_->bookKey, open_->range.start, open_->original, edited});
    }
    Close();
    if (changed)
        Q_EMIT message(QStringLiteral("修改未保存，已留下：回到这一章按 F2 继续编辑"));
}

std::optional<QString> ChapterEditing::TakeDraft()
{
    for (qsizetype n = 0; n < drafts_.size(); ++n) {
        const Draft &draft = drafts_.at(n);
        if (draft.bookKey == open_->bookKey && draft.start == open_->range.start && draft.original == open_->original)
            return drafts_.takeAt(n).edited;
    }
    return std::nullopt;
}

void ChapterEditing::MoveDrafts(const QString &bookKey, const TextChange &change)
{
    for (Draft &draft : drafts_) {
        if (draft.bookKey == bookKey)
            draft.start = change.Moved(draft.start);
    }
}

void ChapterEditing::Close()
{
    open_.reset();
    Q_EMIT editingEnded();
}
