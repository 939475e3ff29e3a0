#pragma once
// What one measuring child process hands back to the benchmark: named
// numbers, written as "name value" lines on its standard output.
#include <QByteArray>
#include <QMap>
#include <QString>

using Measurement = QMap<QString, double>;

namespace MeasurementKey {
inline const QString kFirstChapterMs = QStringLiteral("first_chapter_ms");
inline const QString kFirstLastChapterMs = QStringLiteral("first_last_chapter_ms");
inline const QString kLastChapterMs = QStringLiteral("last_chapter_ms");
inline const QString kLastChapterFloorMs = QStringLiteral("last_chapter_floor_ms");
inline const QString kArrowStepMs = QStringLiteral("arrow_step_ms");
inline const QString kArrowStepFloorMs = QStringLiteral("arrow_step_floor_ms");
inline const QString kSetLastChapterMs = QStringLiteral("set_last_chapter_ms");
inline const QString kSetLastChapterFloorMs = QStringLiteral("set_last_chapter_floor_ms");
inline const QString kCleanedArrowStepMs = QStringLiteral("cleaned_arrow_step_ms");
inline const QString kHighlightedStepMs = QStringLiteral("highlighted_step_ms");
inline const QString kHighlightedStepPlainMs = QStringLiteral("highlighted_step_plain_ms");
inline const QString kSetArrowStepMs = QStringLiteral("set_arrow_step_ms");
inline const QString kSetArrowStepFloorMs = QStringLiteral("set_arrow_step_floor_ms");
inline const QString kTypographyMs = QStringLiteral("typography_ms");
inline const QString kChapterItems = QStringLiteral("chapter_items");
inline const QString kFloorMs = QStringLiteral("floor_ms");
inline const QString kIdleBytes = QStringLiteral("idle_bytes");
inline const QString kPeakBytes = QStringLiteral("peak_bytes");
inline const QString kFindMs = QStringLiteral("find_ms");
inline const QString kFindFloorMs = QStringLiteral("find_floor_ms");
inline const QString kFindHits = QStringLiteral("find_hits");
inline const QString kIndexDefaultMs = QStringLiteral("index_default_ms");
inline const QString kIndexStrictMs = QStringLiteral("index_strict_ms");
inline const QString kStrictHeadings = QStringLiteral("strict_headings");
inline const QString kCustomCheckMs = QStringLiteral("custom_check_ms");
inline const QString kCustomHeadings = QStringLiteral("custom_headings");
inline const QString kCatastrophicCheckMs = QStringLiteral("catastrophic_check_ms");
inline const QString kCatastrophicRefused = QStringLiteral("catastrophic_refused");
inline const QString kReadAloudStartMs = QStringLiteral("read_aloud_start_ms");
inline const QString kReadAloudStallMs = QStringLiteral("read_aloud_stall_ms");
inline const QString kReadAloudStallBusyMs = QStringLiteral("read_aloud_stall_busy_ms");
inline const QString kSettingsSaveMs = QStringLiteral("settings_save_ms");
inline const QString kSettingsKeyByKeyMs = QStringLiteral("settings_key_by_key_ms");
inline const QString kScrollStallMs = QStringLiteral("scroll_stall_ms");
inline const QString kScrollStallBusyMs = QStringLiteral("scroll_stall_busy_ms");
inline const QString kScrollChapters = QStringLiteral("scroll_chapters");
inline const QString kStartUpMs = QStringLiteral("start_up_ms");
inline const QString kLaunchMs = QStringLiteral("launch_ms");
inline const QString kLaunchFloorMs = QStringLiteral("launch_floor_ms");
inline const QString kPreviewMs = QStringLiteral("preview_ms");
inline const QString kPreviewedLaunchMs = QStringLiteral("previewed_launch_ms");
inline const QString kPreviewedPeakBytes = QStringLiteral("previewed_peak_bytes");
inline const QString kRefusedLaunchMs = QStringLiteral("refused_launch_ms");
inline const QString kRefusedPeakBytes = QStringLiteral("refused_peak_bytes");
inline const QString kStoreSwitchMs = QStringLiteral("store_switch_ms");
inline const QString kStoreLoadMs = QStringLiteral("store_load_ms");
inline const QString kStoreOpenMs = QStringLiteral("store_open_ms");
inline const QString kStoreFirstSaveMs = QStringLiteral("store_first_save_ms");
inline const QString kStoreSaveMs = QStringLiteral("store_save_ms");
} // namespace MeasurementKey

void PrintMeasurement(const Measurement &measurement);
// Lines that are not "name number" are skipped.
Measurement ParseMeasurement(const QByteArray &output);
