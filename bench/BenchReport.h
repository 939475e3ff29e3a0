#pragma once
// The figures of one book size: medians over the runs, the ratios to the
// floor and to the file size, and each target met (PASS) or not (MISS).
#include "BenchRunner.h"

void PrintSizeReport(const SizeResult &result, int runsAsked);

// "what   12.34 ms   target <= N ms   PASS" (or MISS), one line.
void PrintTargetLine(const char *what, double ms, double targetMs);
