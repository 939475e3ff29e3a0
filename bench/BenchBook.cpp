#include "BenchBook.h"
#include "BenchHighlights.h"
#include "core/CodePage.h"

#include "support/NovelGenerator.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace {

constexpr int kCharactersPerChapter = 3000;
constexpr int kLongNumbersFromMegabytes = 64;
// Chapters of a short book that tells how many bytes a chapter takes.
constexpr int kSampleChapters = 200;

NovelOptions BenchNovelOptions(int megabytes, int chapters)
{
    NovelOptions options;
    options.seed = quint32(megabytes);
    options.chapters = chapters;
    options.charactersPerChapter = kCharactersPerChapter;
    options.tableOfContents = true;
    options.longNumbers = megabytes >= kLongNumbersFromMegabytes;
    return options;
}

int ChaptersForSize(int megabytes)
{
    const qint64 sampleBytes = EncodeCodePage(GenerateNovel(BenchNovelOptions(megabytes, kSampleChapters)).text).size();
    const double bytesPerChapter = double(sampleBytes) / kSampleChapters;
    return qMax(1, int(std::lround(double(megabytes) * 1024 * 1024 / bytesPerChapter)));
}

} // namespace

BenchBook WriteBenchBook(int megabytes, const QString &folder)
{
    const int chapters = ChaptersForSize(megabytes);
    const Novel novel = GenerateNovel(BenchNovelOptions(megabytes, chapters));
    const QByteArray bytes = EncodeCodePage(novel.text);
    const QString path = QDir(folder).filePath(QStringLiteral("novel-%1MB.txt").arg(megabytes));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return {path, bytes.size(), int(novel.headings.size()), chapters, BenchHighlights(novel)};
}
