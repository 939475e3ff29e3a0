#pragma once
// The menu 朗读: start (F5, which also pauses and goes on), pause, stop (Esc
// while reading), the speed, the voice and the sleep timer. While the speech
// service is unavailable its items are disabled and the strip below the pane
// says why.
class MessageStrip;
class QMenu;
class QWidget;
class ReadAloud;

// Fills the menu; its handlers reach the objects given, which outlive it.
void FillReadAloudMenu(QMenu *menu, ReadAloud &aloud, MessageStrip &strip);

// Esc: stops reading aloud when it is on, else leaves full screen.
void OnEscapeKey(QWidget &window, ReadAloud &aloud);
