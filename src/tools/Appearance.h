#pragma once
// The pane's font, text colour and background colour, as the user picks them
// from the menu. Both handlers return once their chooser has closed; neither
// writes the settings.
struct ReaderControls;

// Font chooser: on confirm, font name, size, bold, italic, strikeout,
// underline and text colour go to the reading pane as reported.
void OnChooseFont(const ReaderControls &controls);
// Colour chooser: on confirm, the colour becomes the pane's background.
void OnChooseBackground(const ReaderControls &controls);
