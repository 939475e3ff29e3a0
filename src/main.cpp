#include "MainWindow.h"
#include "ReaderState.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ReaderState state;
    MainWindow window(state);
    return app.exec();
}
