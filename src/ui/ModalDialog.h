#pragma once
// Showing a dialog modally when its parent may go away while it is open (the
// window closed from the task bar during the dialog).
#include <QDialog>
#include <QPointer>

// Runs the dialog, which this call then owns, and deletes it afterwards. When
// the user confirmed, takeResults reads the dialog before it goes. Returns
// whether the user confirmed; false also when the dialog was destroyed with
// its parent meanwhile, and then nothing is read from it.
template <typename Dialog, typename TakeResults>
bool RunModalDialog(Dialog *dialog, TakeResults takeResults)
{
    const QPointer<Dialog> guarded = dialog;
    const bool confirmed = dialog->exec() == QDialog::Accepted;
    if (!guarded)
        return false;
    if (confirmed)
        takeResults(*guarded);
    delete guarded.data();
    return confirmed;
}
