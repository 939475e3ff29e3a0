#include "ColourChooser.h"

#include "ColourRef.h"

#include <QColorDialog>
#include <QPointer>

namespace {

constexpr int White = 0xFFFFFF;

} // namespace

ColourChooser::ColourChooser(QObject *parent) : ColourChooser(White, parent) {}

ColourChooser::ColourChooser(int initialColour, QObject *parent) : QObject(parent), colour_(initialColour) {}

bool ColourChooser::Show(QWidget *parent)
{
    // Qt's own dialog: the same on every desktop, and drivable in tests. Held
    // by a guarded pointer because its parent may go away while it is open.
    QPointer<QColorDialog> dialog = new QColorDialog(ColourFromRef(colour_), parent);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool confirmed = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return false;
    if (confirmed)
        colour_ = ColourRefOf(dialog->selectedColor());
    delete dialog;
    return confirmed;
}

int ColourChooser::Colour() const
{
    return colour_;
}
