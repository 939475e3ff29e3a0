#pragma once
// The figures of one book size: medians over the runs, the ratios to the
// floor and to the file size, and each target met (PASS) or not (MISS).
#include "BenchRunner.h"

#include <QList>
#include <QMap>

void PrintSizeReport(const SizeResult &result, int runsAsked);

// Whether the remembered chapter comes from its bytes as soon on the largest
// book as on the smallest: the launch runs of each size, by megabytes.
void PrintPreviewFlatness(const QMap<int, QList<Measurement>> &launchRunsBySize);

// "what   12.34 ms   target <= N ms   PASS" (or MISS), one line.
void PrintTargetLine(const char *what, double ms, double targetMs);
