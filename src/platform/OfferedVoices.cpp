#include "platform/OfferedVoices.h"

#include <QRegularExpression>
#include <QSet>

namespace {

enum class Kind { Mandarin, OtherChinese, OwnLanguage, Other };

Kind KindOf(const ListedVoice &voice, QLocale::Language own)
{
    static const QRegularExpression mandarin(QStringLiteral("Mandarin|普通话|国语"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression chinese(QStringLiteral("Chinese|Cantonese|中文|粤语"),
                                            QRegularExpression::CaseInsensitiveOption);
    const bool chineseLocale = voice.locale.language() == QLocale::Chinese;
    const bool southern = voice.locale.territory() == QLocale::HongKong || voice.locale.territory() == QLocale::Macao;
    if (mandarin.match(voice.name).hasMatch() || (chineseLocale && !southern))
        return Kind::Mandarin;
    if (chineseLocale || chinese.match(voice.name).hasMatch())
        return Kind::OtherChinese;
    const bool ownKnown = own != QLocale::C && own != QLocale::AnyLanguage && own != QLocale::Chinese;
    return ownKnown && voice.locale.language() == own ? Kind::OwnLanguage : Kind::Other;
}

} // namespace

QList<qsizetype> OfferedVoices(const QList<ListedVoice> &voices, QLocale::Language own)
{
    QList<Kind> kinds;
    QSet<QString> names;
    for (const ListedVoice &voice : voices) {
        kinds.append(KindOf(voice, own));
        if (kinds.last() != Kind::Other)
            names.insert(voice.name);
    }
    const auto isVariant = [&names](const QString &name) {
        const qsizetype plus = name.indexOf(QLatin1Char('+'));
        return plus > 0 && names.contains(name.left(plus));
    };
    QList<qsizetype> offered;
    for (const Kind kind : {Kind::Mandarin, Kind::OtherChinese, Kind::OwnLanguage})
        for (qsizetype i = 0; i < voices.size(); ++i)
            if (kinds[i] == kind && !isVariant(voices[i].name))
                offered.append(i);
    return offered;
}

QString OfferedVoiceName(const ListedVoice &voice)
{
    if (voice.locale.language() == QLocale::C)
        return voice.name;
    return QStringLiteral("%1（%2）").arg(voice.name, voice.locale.name());
}
