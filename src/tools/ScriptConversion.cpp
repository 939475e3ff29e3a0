#include "tools/ScriptConversion.h"

#include "core/ScriptConverter.h"
#include "ui/EditBox.h"

namespace {

void ConvertPane(EditBox &pane, ScriptConversion mode)
{
    pane.SetText(ConvertScript(pane.Text(), mode));
}

} // namespace

void OnToSimplified(EditBox &pane)
{
    ConvertPane(pane, ScriptConversion::ToSimplified);
}

void OnToTraditional(EditBox &pane)
{
    ConvertPane(pane, ScriptConversion::ToTraditional);
}
