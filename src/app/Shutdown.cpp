#include "app/Shutdown.h"

#include "app/BookSyncing.h"
#include "app/ReaderServices.h"
#include "session/ReadingSession.h"
#include "ui/EditBox.h"
#include "ui/ReaderControls.h"

Shutdown::Shutdown(ReaderServices &services, const ReaderControls &controls, ReadingSession &session, QObject *parent)
    : QObject(parent), services_(services), controls_(controls), session_(session)
{}

void Shutdown::Run()
{
    if (done_)
        return;
    done_ = true;
    // The book store first: config.ini, written after it, stays the newer.
    session_.Close();
    controls_.编辑框_内容->setFocus();
    services_.preferences.SaveAndStop();
    services_.hotKey.Release(controls_.mainWindow);
    // Last, bounded: the place just saved goes to the other computers too.
    FinishSync(services_.sync);
}
