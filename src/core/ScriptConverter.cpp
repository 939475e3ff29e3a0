#include "core/ScriptConverter.h"

#include "core/Log.h"

#include <opencc/Exception.hpp>
#include <opencc/opencc.h>

#include <exception>
#include <memory>

namespace {

// OpenCC's own exceptions do not derive from std::exception.
QString DescribeCurrentException()
{
    try {
        throw;
    } catch (const opencc::Exception &error) {
        return QString::fromUtf8(error.what());
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

// A converter loaded once, or the reason it could not be.
struct LoadedConverter {
    std::unique_ptr<opencc::SimpleConverter> converter;
    QString failure;
};

LoadedConverter LoadConverter(const char *configName)
{
    try {
        return {std::make_unique<opencc::SimpleConverter>(configName), {}};
    } catch (...) {
        return {nullptr, DescribeCurrentException()};
    }
}

// Both directions convert phrases, not only characters: Traditional text as
// written in Taiwan (盤算著) becomes 盘算着, not 盘算著. Loading costs far
// more than converting a chapter, so each direction is
// loaded on first use and kept for the rest of the run.
const LoadedConverter &ConverterFor(ScriptConversion mode)
{
    if (mode == ScriptConversion::ToSimplified) {
        static const LoadedConverter toSimplified = LoadConverter("tw2sp.json");
        return toSimplified;
    }
    static const LoadedConverter toTraditional = LoadConverter("s2t.json");
    return toTraditional;
}

} // namespace

QString ConvertScript(const QString &text, ScriptConversion mode)
{
    if (mode != ScriptConversion::ToSimplified && mode != ScriptConversion::ToTraditional) {
        qCInfo(lcCore) << "script conversion: unknown mode" << int(mode) << "- text left unchanged";
        return text;
    }
    const LoadedConverter &loaded = ConverterFor(mode);
    if (!loaded.converter) {
        qCInfo(lcCore) << "script conversion: converter for mode" << int(mode) << "unavailable:" << loaded.failure;
        return text;
    }
    try {
        return QString::fromStdString(loaded.converter->Convert(text.toStdString()));
    } catch (...) {
        qCInfo(lcCore) << "script conversion failed:" << DescribeCurrentException();
        return text;
    }
}

QString ScriptKey(std::optional<ScriptConversion> script)
{
    if (!script)
        return {};
    return *script == ScriptConversion::ToSimplified ? QStringLiteral("simplified") : QStringLiteral("traditional");
}

std::optional<ScriptConversion> ScriptFromKey(const QString &key)
{
    if (key == QLatin1StringView("simplified"))
        return ScriptConversion::ToSimplified;
    if (key == QLatin1StringView("traditional"))
        return ScriptConversion::ToTraditional;
    return std::nullopt;
}
