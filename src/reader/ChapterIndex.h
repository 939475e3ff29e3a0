#pragma once
class NotifyLabel;

// Handler of the loader's progress notifications on the status label
// (标签_状态显示): writes "已载入" and the percentage, or "载入完成" at exactly
// 100, which the loader posts once the finished book is on screen.
void OnLoadProgress(NotifyLabel &statusLabel, int percentage, int unused);
