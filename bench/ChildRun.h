#pragma once
// The benchmark measures in fresh child processes of itself (peak memory is
// per process): the arguments a child is started with, and running one.
#include "Measurement.h"

#include <QString>
#include <QStringList>

namespace ChildOption {
inline const QString kReaderRun = QStringLiteral("reader-run");
inline const QString kFloorRun = QStringLiteral("floor-run");
inline const QString kHighlightsRun = QStringLiteral("highlights-run");
inline const QString kArrowSteps = QStringLiteral("arrow-steps");
inline const QString kScrollSeconds = QStringLiteral("scroll-seconds");
inline const QString kStoreRun = QStringLiteral("store-run");
inline const QString kWithoutStore = QStringLiteral("without-store");
} // namespace ChildOption

// One run of a child process of this program with these arguments; empty
// when it failed (reported on the error output).
Measurement RunChild(const QStringList &arguments);
