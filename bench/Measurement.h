#pragma once
// What one measuring child process hands back to the benchmark: named
// numbers, written as "name value" lines on its standard output.
#include <QByteArray>
#include <QMap>
#include <QString>

using Measurement = QMap<QString, double>;

namespace MeasurementKey {
inline const QString FirstChapterMs = QStringLiteral("first_chapter_ms");
inline const QString FirstLastChapterMs = QStringLiteral("first_last_chapter_ms");
inline const QString LastChapterMs = QStringLiteral("last_chapter_ms");
inline const QString LastChapterFloorMs = QStringLiteral("last_chapter_floor_ms");
inline const QString ArrowStepMs = QStringLiteral("arrow_step_ms");
inline const QString ArrowStepFloorMs = QStringLiteral("arrow_step_floor_ms");
inline const QString ChapterItems = QStringLiteral("chapter_items");
inline const QString FloorMs = QStringLiteral("floor_ms");
inline const QString IdleBytes = QStringLiteral("idle_bytes");
inline const QString PeakBytes = QStringLiteral("peak_bytes");
inline const QString FindMs = QStringLiteral("find_ms");
inline const QString FindFloorMs = QStringLiteral("find_floor_ms");
inline const QString FindHits = QStringLiteral("find_hits");
inline const QString IndexDefaultMs = QStringLiteral("index_default_ms");
inline const QString IndexStrictMs = QStringLiteral("index_strict_ms");
inline const QString StrictHeadings = QStringLiteral("strict_headings");
inline const QString CustomCheckMs = QStringLiteral("custom_check_ms");
inline const QString CustomHeadings = QStringLiteral("custom_headings");
inline const QString CatastrophicCheckMs = QStringLiteral("catastrophic_check_ms");
inline const QString CatastrophicRefused = QStringLiteral("catastrophic_refused");
inline const QString StartUpMs = QStringLiteral("start_up_ms");
inline const QString LaunchMs = QStringLiteral("launch_ms");
inline const QString LaunchFloorMs = QStringLiteral("launch_floor_ms");
inline const QString StoreSwitchMs = QStringLiteral("store_switch_ms");
inline const QString StoreLoadMs = QStringLiteral("store_load_ms");
inline const QString StoreOpenMs = QStringLiteral("store_open_ms");
inline const QString StoreFirstSaveMs = QStringLiteral("store_first_save_ms");
inline const QString StoreSaveMs = QStringLiteral("store_save_ms");
} // namespace MeasurementKey

void PrintMeasurement(const Measurement &measurement);
// Lines that are not "name number" are skipped.
Measurement ParseMeasurement(const QByteArray &output);
