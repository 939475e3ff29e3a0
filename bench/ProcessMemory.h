#pragma once
// A process's resident memory as the kernel counts it, in bytes; -1 where
// the kernel does not tell (no /proc, or no such process).
#include <QtGlobal>

qint64 CurrentResidentBytes(); // VmRSS
qint64 PeakResidentBytes();    // VmHWM: the most this process has held so far
// VmHWM of another process, read while it runs.
qint64 PeakResidentBytesOf(qint64 processId);
