#pragma once
// The three pages of the "帮助" menu, opened in the browser.
void OnCheckUpdate();
void OnHomePage();
void OnLinkDirectory();
