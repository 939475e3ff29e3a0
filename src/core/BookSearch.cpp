#include "core/BookSearch.h"

#include "core/ScriptConverter.h"

#include <QSet>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// The characters an occurrence can start with: each form's first character,
// in both cases when it is an ASCII letter.
QList<char16_t> FirstCharacters(const QStringList &forms)
{
    QSet<char16_t> firsts;
    for (const QString &form : forms) {
        const char16_t first = form.at(0).unicode();
        firsts.insert(first);
        if (IsAsciiLetter(first))
            firsts.insert(char16_t(first ^ 0x20));
    }
    return firsts.values();
}

bool MatchesAt(QStringView text, qsizetype at, QStringView form)
{
    if (at + form.size() > text.size())
        return false;
    for (qsizetype i = 0; i < form.size(); ++i) {
        const char16_t a = text[at + i].unicode();
        const char16_t b = form[i].unicode();
        if (a != b && !(IsAsciiLetter(a) && AsciiLower(a) == AsciiLower(b)))
            return false;
    }
    return true;
}

// The length of the longest form that occurs at `at`, 0 when none does.
qsizetype LongestMatchAt(QStringView text, qsizetype at, const QStringList &forms)
{
    qsizetype longest = 0;
    for (const QString &form : forms) {
        if (form.size() > longest && MatchesAt(text, at, form))
            longest = form.size();
    }
    return longest;
}

// Where the next character of the set stands, from `from` on; the text's
// size when there is none. Eight characters at a time where the processor
// can: the scan, not the comparing, is what a search of a large book costs.
qsizetype NextCandidate(QStringView text, qsizetype from, const QList<char16_t> &firsts)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    qsizetype at = from;
#if defined(__SSE2__)
    for (; at + 8 <= text.size(); at += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + at));
        __m128i found = _mm_setzero_si128();
        for (const char16_t first : firsts)
            found = _mm_or_si128(found, _mm_cmpeq_epi16(chunk, _mm_set1_epi16(short(first))));
        if (const int mask = _mm_movemask_epi8(found))
            return at + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; at < text.size(); ++at) {
        if (firsts.contains(units[at]))
            return at;
    }
    return text.size();
}

} // namespace

QStringList SearchForms(const QString &term)
{
    if (term.isEmpty() || term.size() > kLongestSearchTerm || term.contains(u'\n') || term.contains(u'\r'))
        return {};
    QStringList forms{term};
    for (const ScriptConversion mode : {ScriptConversion::ToSimplified, ScriptConversion::ToTraditional}) {
        const QString form = ConvertScript(term, mode);
        if (!form.isEmpty() && !forms.contains(form))
            forms.append(form);
    }
    return forms;
}

QList<SearchHit> FindEverywhere(QStringView text, const QStringList &forms)
{
    QList<SearchHit> hits;
    if (forms.isEmpty())
        return hits;
    const QList<char16_t> firsts = FirstCharacters(forms);
    for (qsizetype at = NextCandidate(text, 0, firsts); at < text.size(); at = NextCandidate(text, at, firsts)) {
        const qsizetype length = LongestMatchAt(text, at, forms);
        if (length > 0)
            hits.append({at, length});
        at += qMax<qsizetype>(length, 1);
    }
    return hits;
}

bool HoldsAnyForm(QStringView text, const QStringList &forms)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (LongestMatchAt(text, at, forms) > 0)
            return true;
    }
    return false;
}

QString HitContext(QStringView text, const SearchHit &hit, qsizetype around)
{
    qsizetype from = qMax<qsizetype>(0, hit.position - around);
    qsizetype to = qMin(text.size(), hit.position + hit.length + around);
    // Never half a character outside the Basic Multilingual Plane.
    if (from > 0 && text[from].isLowSurrogate())
        --from;
    if (to < text.size() && text[to].isLowSurrogate())
        ++to;
    QString context = text.sliced(from, to - from).toString();
    for (QChar &c : context) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    return context;
}
