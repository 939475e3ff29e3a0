#include "shelf/LibraryHitsModel.h"

#include "core/BookFileName.h"

namespace {

QString BookLine(const SearchedBook &book)
{
    const QString name = ShownBookName(book.fileName);
    if (!book.readable)
        return QStringLiteral("%1　无法读取").arg(name);
    if (book.hits.found > book.hits.listed.size())
        return QStringLiteral("%1　（%2 处，列出前 %3 处）")
            .arg(name)
            .arg(book.hits.found)
            .arg(book.hits.listed.size());
    return QStringLiteral("%1　（%2 处）").arg(name).arg(book.hits.found);
}

QString HitLine(const BookHit &hit)
{
    return QStringLiteral("　　%1　…%2…").arg(hit.title, hit.context);
}

} // namespace

void LibraryHitsModel::Clear()
{
    SetTexts({});
    places_.clear();
    found_ = 0;
    listed_ = 0;
    cut_ = false;
}

void LibraryHitsModel::AddBook(const SearchedBook &book)
{
    if (book.readable && book.hits.found == 0)
        return;
    found_ += book.hits.found;
    QStringList lines{BookLine(book)};
    places_.append(std::nullopt);
    const QList<BookHit> &hits = book.hits.listed;
    const qsizetype listed = qMin(hits.size(), kListedLibraryHits - listed_);
    cut_ = cut_ || listed < hits.size();
    for (qsizetype i = 0; i < listed; ++i) {
        places_.append(LibraryPlace{book.folder + book.fileName, hits[i].chapter, hits[i].position, hits[i].length});
        lines.append(HitLine(hits[i]));
    }
    listed_ += listed;
    AppendTexts(lines);
}

std::optional<LibraryPlace> LibraryHitsModel::PlaceAt(int row) const
{
    return places_.value(row);
}
