#include "ui/ColourChooser.h"

#include "ui/ColourRef.h"
#include "ui/ModalDialog.h"

#include <QColorDialog>

namespace {

constexpr int kWhite = 0xFFFFFF;

} // namespace

ColourChooser::ColourChooser(QObject *parent) : ColourChooser(kWhite, parent) {}

ColourChooser::ColourChooser(int initialColour, QObject *parent) : QObject(parent), colour_(initialColour) {}

bool ColourChooser::Show(QWidget *parent)
{
    // Qt's own dialog: the same on every desktop, and drivable in tests.
    auto *dialog = new QColorDialog(ColourFromRef(colour_), parent);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    return RunModalDialog(dialog,
                          [this](QColorDialog &confirmed) { colour_ = ColourRefOf(confirmed.selectedColor()); });
}

int ColourChooser::Colour() const
{
    return colour_;
}
