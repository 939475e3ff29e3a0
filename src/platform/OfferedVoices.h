#pragma once
// Which of a speech engine's voices 朗读 offers, and in what order.
#include <QList>
#include <QLocale>
#include <QString>

// A voice as an engine lists it: its name and the locale it is filed under.
struct ListedVoice {
    QString name;
    QLocale locale;
};

// The indices into `voices` of those to offer, in order: the Chinese ones,
// Mandarin before the others, then those of the user's own language (when
// that is neither Chinese nor unknown). A voice is Chinese by its locale or,
// where the engine's language code is one Qt does not know (espeak-ng's
// "cmn" is filed under the C locale), by its name. A variant of an offered
// voice ("Base+Variant", as espeak-ng names them by the hundred) is left
// out. Empty when there is no such voice.
QList<qsizetype> OfferedVoices(const QList<ListedVoice> &voices, QLocale::Language own);

// The name a voice goes by in the menu and config.ini: its own, with the
// locale's tag when the locale is a known one.
QString OfferedVoiceName(const ListedVoice &voice);
