#pragma once
// Qt's own dialogs (the folder, font and colour choosers, standard buttons)
// in Chinese, like the rest of the window: the variant of the user's locale
// when it is Chinese (zh_TW gives Traditional), else Simplified. Installed
// once, before any dialog is made; without the translation files the
// dialogs stay in English.
class QObject;

void InstallQtTranslations(QObject *owner);
