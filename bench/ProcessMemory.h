#pragma once
// This process's resident memory as the kernel counts it, in bytes; -1 where
// the kernel does not tell (no /proc).
#include <QtGlobal>

qint64 CurrentResidentBytes(); // VmRSS
qint64 PeakResidentBytes();    // VmHWM: the most this process has held so far
