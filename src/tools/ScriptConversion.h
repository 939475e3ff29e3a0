#pragma once
struct ReaderControls;

// "简体" / "繁体": rewrite the shown text in Simplified or Traditional
// characters. The book itself and the chapter list are not touched.
void OnToSimplified(const ReaderControls &controls);
void OnToTraditional(const ReaderControls &controls);
