#pragma once
// The busy cursor over the program's windows while a long piece of work runs
// with pending events let through (a book loading): it appears once the work
// has taken 200 ms, and goes when this object does, however the work ended.
#include <QTimer>

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    QTimer timer_;
    bool shown_ = false;
};
