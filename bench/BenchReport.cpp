#include "BenchReport.h"

#include "Median.h"

#include <cstdio>
#include <optional>

namespace {

// The first-chapter and memory targets are set for the large book, where
// fixed costs (window, painting) no longer hide the per-byte ones. Decoding
// on two cores opens it faster than one core reads and decodes it.
constexpr int kFirstChapterTargetFromMegabytes = 64;
constexpr double kFirstChapterToFloor = 1.0;
// Launching the program to the remembered chapter: against iconv of the same
// file, and in absolute terms for the large and the small book.
constexpr double kLaunchToFloor = 1.2;
constexpr double kLaunchLargeMs = 250;
constexpr double kLaunchSmallMs = 120;
// The remembered chapter shown from its own bytes, next to decoding the file;
// and as soon on the largest book as on the smallest, being one chapter's
// bytes whatever the book's size.
constexpr double kPreviewToFloor = 0.5;
constexpr double kPreviewLargestToSmallest = 1.2;
// What the preview may add to the launch that reads the whole book first:
// to the time until the whole book is shown, and to the peak memory.
constexpr double kPreviewedWholeBookSlower = 0.05;
constexpr double kPreviewedPeakAbove = 0.05;
constexpr double kLastChapterMs = 2;
constexpr double kArrowStepMs = 2;
// A chapter step with fifty 净化规则 against one without.
constexpr double kCleanedStepToPlain = 1.5;
// A step onto a chapter with 200 highlights against the same step without them.
constexpr double kHighlightedStepToPlain = 1.2;
// A chapter change against a bare editor given the same text and repainting.
constexpr double kChangeToFloor = 1.3;
// Setting the page anew on 10 000 characters.
constexpr double kTypographyMs = 2;
constexpr double kReadAloudStartMs = 5;
// A save of config.ini on the window's thread, and its longest stall while
// 自动滚动 runs.
constexpr double kSettingsSaveMs = 2;
constexpr double kScrollStallMs = 16;
// Finding every occurrence of a term in both scripts against one plain loop.
constexpr double kFindToFloor = 2;
// The strict chapter rule indexes at least as fast as the designed pattern.
constexpr double kStrictToDefault = 1;
// A reader's expression that the engine gives up on ends within this.
constexpr double kCustomCheckLimitMs = 2000;
constexpr double kPeakAboveIdleToFile = 1.4;
constexpr double kMegabyte = 1024.0 * 1024.0;

double MedianOf(const QList<Measurement> &runs, const QString &key)
{
    QList<double> values;
    for (const Measurement &run : runs)
        values.append(run.value(key));
    return Median(values);
}

// The median of each run's key next to its baseKey, minus one: two figures
// taken in the same run share its load, which drifts from run to run on
// shared cores. None when a run lacks either figure.
std::optional<double> MedianChange(const QList<Measurement> &runs, const QString &key, const QString &baseKey)
{
    QList<double> changes;
    for (const Measurement &run : runs) {
        if (run.value(key) <= 0 || run.value(baseKey) <= 0)
            return std::nullopt;
        changes.append(run.value(key) / run.value(baseKey) - 1);
    }
    return Median(changes);
}

QString RunValues(const QList<Measurement> &runs, const QString &key, double scale)
{
    QStringList values;
    for (const Measurement &run : runs)
        values.append(QString::number(run.value(key) / scale, 'f', 2));
    return values.join(QStringLiteral(", "));
}

const char *Verdict(bool met)
{
    return met ? "PASS" : "MISS";
}

void PrintFloor(const QList<Measurement> &floorRuns)
{
    const double idle = MedianOf(floorRuns, MeasurementKey::kIdleBytes);
    const double peak = MedianOf(floorRuns, MeasurementKey::kPeakBytes);
    std::printf("  floor: read + decode    %9.1f ms     peak above idle %.1f MB\n",
                MedianOf(floorRuns, MeasurementKey::kFloorMs), (peak - idle) / kMegabyte);
}

// A chapter change next to its floor: a bare editor of the pane's size and
// font, given the same chapter text, repainting.
void PrintAgainstBareEditor(double changeMs, double bareMs)
{
    const double ratio = bareMs > 0 ? changeMs / bareMs : 0;
    std::printf("    bare editor floor     %9.3f ms     %.2f x floor      target <= %.1f x      %s\n", bareMs, ratio,
                kChangeToFloor, Verdict(ratio <= kChangeToFloor));
}

// A chapter step with something more to show against the same steps without.
void PrintAgainstPlainStep(const char *label, double stepMs, double plainMs, double target)
{
    const double ratio = plainMs > 0 ? stepMs / plainMs : 0;
    std::printf("    %s%9.3f ms     %.2f x without    target <= %.1f x      %s\n", label, stepMs, ratio, target,
                Verdict(ratio <= target));
}

// Steps onto the chapter in the middle of the book from the one before it,
// without highlights and with 200 on that chapter.
void PrintHighlightedSteps(const QList<Measurement> &runs)
{
    if (runs.isEmpty()) {
        std::printf("  step onto middle chapter  no figures, every run with 高亮 failed\n");
        return;
    }
    const double plainMs = MedianOf(runs, MeasurementKey::kHighlightedStepPlainMs);
    std::printf("  step onto middle chapter%9.3f ms     (from the chapter before it; %lld runs)\n", plainMs,
                static_cast<long long>(runs.size()));
    PrintAgainstPlainStep("with 200 高亮         ", MedianOf(runs, MeasurementKey::kHighlightedStepMs), plainMs,
                          kHighlightedStepToPlain);
}

// The same chapter changes on a page with 行距 2.0, margins and a column of
// 40 characters, and what setting that page costs.
void PrintSetPage(const QList<Measurement> &runs)
{
    const double typographyMs = MedianOf(runs, MeasurementKey::kTypographyMs);
    std::printf("  typography, 10 000 chars%8.3f ms                     target <= %.0f ms       %s\n", typographyMs,
                kTypographyMs, Verdict(typographyMs <= kTypographyMs));
    const double lastMs = MedianOf(runs, MeasurementKey::kSetLastChapterMs);
    std::printf("  set page: last chapter  %9.3f ms\n", lastMs);
    PrintAgainstBareEditor(lastMs, MedianOf(runs, MeasurementKey::kSetLastChapterFloorMs));
    const double stepMs = MedianOf(runs, MeasurementKey::kSetArrowStepMs);
    std::printf("  set page: right arrow   %9.3f ms\n", stepMs);
    PrintAgainstBareEditor(stepMs, MedianOf(runs, MeasurementKey::kSetArrowStepFloorMs));
}

// Starting 朗读 on the window's thread: the start call, and the longest stall
// while the speech engine came up with the thread's own work in it; only
// where the engine is available.
void PrintReadAloud(const QList<Measurement> &runs)
{
    if (runs.isEmpty() || !runs.first().contains(MeasurementKey::kReadAloudStartMs)) {
        std::printf("  朗读 start               unavailable (no speech engine here)\n");
        return;
    }
    const double startMs = MedianOf(runs, MeasurementKey::kReadAloudStartMs);
    const double stallMs = MedianOf(runs, MeasurementKey::kReadAloudStallMs);
    const double busyMs = MedianOf(runs, MeasurementKey::kReadAloudStallBusyMs);
    std::printf("  朗读 start               %9.3f ms     target <= %.0f ms   %s\n", startMs, kReadAloudStartMs,
                Verdict(startMs <= kReadAloudStartMs));
    std::printf("  朗读 engine coming up: longest stall %.3f ms, the window's thread busy %.3f ms of it   "
                "target <= %.0f ms   %s\n",
                stallMs, busyMs, kReadAloudStartMs, Verdict(busyMs <= kReadAloudStartMs));
}

// Keeping the place and the settings: a save of config.ini on the window's
// thread, next to the same keys written one at a time (as earlier versions
// saved), and the longest stall of the thread while 自动滚动 read on.
void PrintKeeping(const QList<Measurement> &runs)
{
    const double saveMs = MedianOf(runs, MeasurementKey::kSettingsSaveMs);
    std::printf("  config.ini save         %9.3f ms     on the window's thread; key by key %.1f ms   "
                "target <= %.0f ms   %s\n",
                saveMs, MedianOf(runs, MeasurementKey::kSettingsKeyByKeyMs), kSettingsSaveMs,
                Verdict(saveMs <= kSettingsSaveMs));
    if (!runs.first().contains(MeasurementKey::kScrollStallMs))
        return;
    const double stallMs = MedianOf(runs, MeasurementKey::kScrollStallMs);
    std::printf("  自动滚动 longest stall    %9.3f ms     the thread busy %.3f ms of it, %d chapters read on   "
                "target <= %.0f ms   %s\n",
                stallMs, MedianOf(runs, MeasurementKey::kScrollStallBusyMs),
                int(MedianOf(runs, MeasurementKey::kScrollChapters)), kScrollStallMs,
                Verdict(stallMs <= kScrollStallMs));
}

void PrintChapterRules(const QList<Measurement> &runs, int plantedHeadings)
{
    const double defaultMs = MedianOf(runs, MeasurementKey::kIndexDefaultMs);
    const double strictMs = MedianOf(runs, MeasurementKey::kIndexStrictMs);
    const double ratio = defaultMs > 0 ? strictMs / defaultMs : 0;
    const int strictHeadings = int(MedianOf(runs, MeasurementKey::kStrictHeadings));
    std::printf("  index, default rule     %9.1f ms\n", defaultMs);
    std::printf(
        "  index, strict rule      %9.1f ms     %.2f x default    target <= %.0f x        %s   (%d headings: %s)\n",
        strictMs, ratio, kStrictToDefault, Verdict(ratio <= kStrictToDefault), strictHeadings,
        strictHeadings == plantedHeadings ? "all planted" : "NOT the planted ones");
    const double catastrophicMs = MedianOf(runs, MeasurementKey::kCatastrophicCheckMs);
    std::printf("  own rule checked        %9.1f ms     (^第.{1,12}章 for the preview: %d headings)\n",
                MedianOf(runs, MeasurementKey::kCustomCheckMs), int(MedianOf(runs, MeasurementKey::kCustomHeadings)));
    const bool refused = MedianOf(runs, MeasurementKey::kCatastrophicRefused) > 0;
    std::printf("    catastrophic one      %9.1f ms     (^(\\S+)+\\d, %s)   target <= %.0f ms   %s\n", catastrophicMs,
                refused ? "refused" : "NOT refused", kCustomCheckLimitMs,
                Verdict(refused && catastrophicMs <= kCustomCheckLimitMs));
}

// Peak memory of the launch with the preview next to the refused one's, each
// read once the whole book was on screen.
void PrintPreviewPeak(const QList<Measurement> &runs, qint64 fileBytes)
{
    const std::optional<double> above =
        MedianChange(runs, MeasurementKey::kPreviewedPeakBytes, MeasurementKey::kRefusedPeakBytes);
    if (!above) {
        std::printf("    peak memory with it   unavailable (no /proc here)\n");
        return;
    }
    const double peak = MedianOf(runs, MeasurementKey::kPreviewedPeakBytes);
    const double refusedPeak = MedianOf(runs, MeasurementKey::kRefusedPeakBytes);
    std::printf("    peak memory with it   %7.1f MB = %.2f x file     refused %.1f MB = %.2f x file     %+.1f %% "
                "(median per run)   target <= +%.0f %%   %s\n",
                peak / kMegabyte, peak / double(fileBytes), refusedPeak / kMegabyte, refusedPeak / double(fileBytes),
                *above * 100, kPreviewedPeakAbove * 100, Verdict(*above <= kPreviewedPeakAbove));
}

// The remembered chapter from its bytes, then the whole book, next to a
// launch of the same run in which the program refused the preview (the file
// no longer matched its record).
void PrintPreview(const SizeResult &result, double floorMs)
{
    const QList<Measurement> &runs = result.launchRuns;
    const double previewMs = MedianOf(runs, MeasurementKey::kPreviewMs);
    const double previewRatio = floorMs > 0 ? previewMs / floorMs : 0;
    std::printf("  launch to ch. from its bytes %7.1f ms     %.2f x floor", previewMs, previewRatio);
    // Start-up's own cost outweighs the decoding of a small book.
    if (result.megabytes >= kFirstChapterTargetFromMegabytes)
        std::printf("     target <= %.1f x     %s\n", kPreviewToFloor, Verdict(previewRatio <= kPreviewToFloor));
    else
        std::printf("     (target set for %d MB)\n", kFirstChapterTargetFromMegabytes);
    const double wholeMs = MedianOf(runs, MeasurementKey::kPreviewedLaunchMs);
    const double refusedMs = MedianOf(runs, MeasurementKey::kRefusedLaunchMs);
    const std::optional<double> slower =
        MedianChange(runs, MeasurementKey::kPreviewedLaunchMs, MeasurementKey::kRefusedLaunchMs);
    std::printf("    then the whole book   %7.1f ms     %+.1f %% (median per run) next to %.1f ms with the preview "
                "refused   target <= +%.0f %%   %s\n",
                wholeMs, slower.value_or(0) * 100, refusedMs, kPreviewedWholeBookSlower * 100,
                Verdict(slower && *slower <= kPreviewedWholeBookSlower));
    PrintPreviewPeak(runs, result.book.bytes);
    std::printf("  runs, preview ms:       %s\n", qPrintable(RunValues(runs, MeasurementKey::kPreviewMs, 1)));
    std::printf("  runs, whole book ms:    %s\n", qPrintable(RunValues(runs, MeasurementKey::kPreviewedLaunchMs, 1)));
    std::printf("    with it refused:      %s\n", qPrintable(RunValues(runs, MeasurementKey::kRefusedLaunchMs, 1)));
}

void PrintLaunch(const SizeResult &result)
{
    const QList<Measurement> &runs = result.launchRuns;
    if (runs.isEmpty()) {
        std::printf("  launch to the remembered chapter: no figures, every run failed\n");
        return;
    }
    const double launchMs = MedianOf(runs, MeasurementKey::kLaunchMs);
    const double floorMs = MedianOf(runs, MeasurementKey::kLaunchFloorMs);
    const double ratio = floorMs > 0 ? launchMs / floorMs : 0;
    const bool large = result.megabytes >= kFirstChapterTargetFromMegabytes;
    const double targetMs = large ? kLaunchLargeMs : kLaunchSmallMs;
    std::printf("  launch to remembered ch.%7.1f ms     target <= %.0f ms     %s\n", launchMs, targetMs,
                Verdict(launchMs <= targetMs));
    std::printf("    floor: iconv to UTF-16 %7.1f ms     %.2f x floor", floorMs, ratio);
    if (large)
        std::printf("      target <= %.1f x      %s\n", kLaunchToFloor, Verdict(ratio <= kLaunchToFloor));
    else
        std::printf("\n");
    std::printf("  runs, launch ms:        %s\n", qPrintable(RunValues(runs, MeasurementKey::kLaunchMs, 1)));
    PrintPreview(result, floorMs);
}

void PrintReader(const SizeResult &result, double floorMs)
{
    const QList<Measurement> &runs = result.readerRuns;
    const double firstMs = MedianOf(runs, MeasurementKey::kFirstChapterMs);
    const double lastMs = MedianOf(runs, MeasurementKey::kLastChapterMs);
    const double stepMs = MedianOf(runs, MeasurementKey::kArrowStepMs);
    const double idle = MedianOf(runs, MeasurementKey::kIdleBytes);
    const double peak = MedianOf(runs, MeasurementKey::kPeakBytes);
    const double toFloor = floorMs > 0 ? firstMs / floorMs : 0;
    const double aboveIdleToFile = (peak - idle) / double(result.book.bytes);

    std::printf("  first chapter shown     %9.1f ms     %.2f x floor", firstMs, toFloor);
    if (result.megabytes >= kFirstChapterTargetFromMegabytes)
        std::printf("      target <= %.1f x      %s\n", kFirstChapterToFloor, Verdict(toFloor <= kFirstChapterToFloor));
    else
        std::printf("      (target set for %d MB)\n", kFirstChapterTargetFromMegabytes);
    std::printf("  last chapter shown      %9.3f ms                     target <= %.0f ms       %s\n", lastMs,
                kLastChapterMs, Verdict(lastMs <= kLastChapterMs));
    PrintAgainstBareEditor(lastMs, MedianOf(runs, MeasurementKey::kLastChapterFloorMs));
    std::printf("    its first jump        %9.3f ms     (first prose on screen: glyphs rasterised once)\n",
                MedianOf(runs, MeasurementKey::kFirstLastChapterMs));
    std::printf("  right-arrow step        %9.3f ms                     target <= %.0f ms       %s\n", stepMs,
                kArrowStepMs, Verdict(stepMs <= kArrowStepMs));
    PrintAgainstBareEditor(stepMs, MedianOf(runs, MeasurementKey::kArrowStepFloorMs));
    PrintAgainstPlainStep("with 50 净化规则      ", MedianOf(runs, MeasurementKey::kCleanedArrowStepMs), stepMs,
                          kCleanedStepToPlain);
    PrintHighlightedSteps(result.highlightRuns);
    PrintSetPage(runs);
    PrintReadAloud(runs);
    PrintKeeping(runs);
    std::printf("  peak memory             %9.1f MB     idle %.1f MB, above idle %.1f MB = %.2f x file",
                peak / kMegabyte, idle / kMegabyte, (peak - idle) / kMegabyte, aboveIdleToFile);
    if (result.megabytes >= kFirstChapterTargetFromMegabytes)
        std::printf("   target <= %.1f x   %s\n", kPeakAboveIdleToFile,
                    Verdict(aboveIdleToFile <= kPeakAboveIdleToFile));
    else
        std::printf("\n");
    const double findMs = MedianOf(runs, MeasurementKey::kFindMs);
    const double findFloorMs = MedianOf(runs, MeasurementKey::kFindFloorMs);
    const double findRatio = findFloorMs > 0 ? findMs / findFloorMs : 0;
    std::printf("  find 时间/時間 everywhere %7.1f ms     %.2f x floor      target <= %.0f x        %s   (%d hits)\n",
                findMs, findRatio, kFindToFloor, Verdict(findRatio <= kFindToFloor),
                int(MedianOf(runs, MeasurementKey::kFindHits)));
    std::printf("    floor: indexOf loop  %9.1f ms\n", findFloorMs);
    PrintChapterRules(runs, result.book.plantedHeadings);
    const int found = int(MedianOf(runs, MeasurementKey::kChapterItems));
    std::printf("  chapter items           %9d        planted headings %d, %d of them the table of contents (one "
                "item): %s\n",
                found, result.book.plantedHeadings, result.book.tableEntries,
                Verdict(found == result.book.ChapterItems()));
    std::printf("  runs, first chapter ms: %s\n", qPrintable(RunValues(runs, MeasurementKey::kFirstChapterMs, 1)));
    std::printf("  runs, floor ms:         %s\n", qPrintable(RunValues(result.floorRuns, MeasurementKey::kFloorMs, 1)));
    std::printf("  runs, peak MB:          %s\n", qPrintable(RunValues(runs, MeasurementKey::kPeakBytes, kMegabyte)));
}

} // namespace

void PrintSizeReport(const SizeResult &result, int runsAsked)
{
    std::printf("%d MB book: %lld bytes, %d planted headings; median of %lld reader and %lld floor runs (of %d)\n",
                result.megabytes, result.book.bytes, result.book.plantedHeadings,
                static_cast<long long>(result.readerRuns.size()), static_cast<long long>(result.floorRuns.size()),
                runsAsked);
    if (result.readerRuns.isEmpty() || result.floorRuns.isEmpty()) {
        std::printf("  no figures: every run of a kind failed\n\n");
        std::fflush(stdout);
        return;
    }
    PrintFloor(result.floorRuns);
    PrintLaunch(result);
    PrintReader(result, MedianOf(result.floorRuns, MeasurementKey::kFloorMs));
    std::printf("\n");
    std::fflush(stdout);
}

void PrintPreviewFlatness(const QMap<int, QList<Measurement>> &launchRunsBySize)
{
    if (launchRunsBySize.size() < 2) {
        std::printf("launch to ch. from its bytes across sizes: needs the launches of two sizes\n\n");
        std::fflush(stdout);
        return;
    }
    const double smallestMs = MedianOf(launchRunsBySize.first(), MeasurementKey::kPreviewMs);
    const double largestMs = MedianOf(launchRunsBySize.last(), MeasurementKey::kPreviewMs);
    const double ratio = smallestMs > 0 ? largestMs / smallestMs : 0;
    std::printf("launch to ch. from its bytes, %d MB against %d MB: %.1f ms against %.1f ms = %.2f x   "
                "target <= %.1f x   %s\n\n",
                launchRunsBySize.lastKey(), launchRunsBySize.firstKey(), largestMs, smallestMs, ratio,
                kPreviewLargestToSmallest, Verdict(ratio <= kPreviewLargestToSmallest));
    std::fflush(stdout);
}

void PrintTargetLine(const char *what, double ms, double targetMs)
{
    std::printf("  %-26s %9.2f ms     target <= %.0f ms       %s\n", what, ms, targetMs, Verdict(ms <= targetMs));
}
