#pragma once
class EditBox;

// "简体" / "繁体": rewrite the text shown in the pane in Simplified or
// Traditional characters. The book itself and the chapter list are not touched.
void OnToSimplified(EditBox &pane);
void OnToTraditional(EditBox &pane);
