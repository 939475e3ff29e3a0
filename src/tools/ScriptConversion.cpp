#include "ScriptConversion.h"

#include "EditBox.h"
#include "ReaderControls.h"
#include "ScriptConverter.h"

namespace {

void ConvertPane(const ReaderControls &controls, int mode)
{
    EditBox *pane = controls.编辑框_内容;
    pane->SetText(ConvertScript(pane->Text(), mode));
}

} // namespace

void OnToSimplified(const ReaderControls &controls)
{
    ConvertPane(controls, kToSimplified);
}

void OnToTraditional(const ReaderControls &controls)
{
    ConvertPane(controls, kToTraditional);
}
