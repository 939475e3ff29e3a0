// Reader starts without a window, for ReaderInstanceTest:
//   reader_instance_helper SETTINGS serve      serves later starts, prints
//                                              "serving", ends at a line on stdin
//   reader_instance_helper SETTINGS hand PATH  hands PATH over: exits 0 when the
//                                              running reader took it, 1 when
//                                              this start would serve, 2 when
//                                              it would run on its own
//   reader_instance_helper SOCKET send PATH    sends PATH to the socket as a
//                                              start does: exits 0 when taken
#include "platform/ReaderInstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <cstdio>

namespace {

int Send(const QString &socketPath, const QString &path)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << QStringList{path};
    socket.write(message);
    const bool taken = socket.waitForConnected(3000) && socket.waitForBytesWritten(3000)
        && socket.waitForReadyRead(3000) && socket.read(1) == "k";
    return taken ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(2) == QStringLiteral("send"))
        return Send(arguments.value(1), arguments.value(3));
    ReaderInstance instance(arguments.value(1));
    if (arguments.value(2) == QStringLiteral("hand")) {
        if (instance.HandOverOrServe({arguments.value(3)}))
            return 0;
        return instance.Serving() ? 1 : 2;
    }
    instance.HandOverOrServe({});
    std::puts(instance.Serving() ? "serving" : "alone");
    std::fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    return app.exec();
}
