#pragma once
// The figures of one book size: medians over the runs, the ratios to the
// floor and to the file size, and each target met (PASS) or not (MISS).
#include "BenchRunner.h"

void PrintSizeReport(const SizeResult &result, int runsAsked);
