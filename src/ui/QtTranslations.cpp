#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool LoadFor(QTranslator &translator, const QLocale &locale)
{
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace

void InstallQtTranslations(QObject *owner)
{
    const QLocale system = QLocale::system();
    const bool traditional =
        system.language() == QLocale::Chinese && system.script() == QLocale::TraditionalChineseScript;
    // Chinese locales without translations of their own (zh_HK) take the
    // variant in their script.
    const QLocale fallback =
        traditional ? QLocale(QLocale::Chinese, QLocale::Taiwan) : QLocale(QLocale::Chinese, QLocale::China);
    auto *translator = new QTranslator(owner);
    if ((system.language() == QLocale::Chinese && LoadFor(*translator, system)) || LoadFor(*translator, fallback))
        QCoreApplication::installTranslator(translator);
}
