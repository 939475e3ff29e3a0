#pragma once
// The one window: its controls, its menus and which handler each event
// reaches. The handlers themselves live with the objects they change.
#include "ui/ReaderControls.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class Appearance;
class ReadingSession;
class Shelf;
class ReadingTimeKeeping;
class Shutdown;
class Startup;
class WindowModes;
struct ReaderServices;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ReaderServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    const ReaderControls &Controls() const { return controls_; }
    ReadingSession &Session() const { return *session_; }
    const Startup &StartUp() const { return *startup_; }
    const Shutdown &ShutDown() const { return *shutdown_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void CreateControls();
    void CreateReader();
    void DescribeControls();
    void WireEvents();
    void WireOutside();
    void PlaceAtDesignedGeometry();
    void AddShortcut(Qt::Key key, std::function<void()> handler);

    ReaderServices &services_;
    ReaderControls controls_;
    // Destroyed before the controls that show them.
    std::unique_ptr<Shelf> shelf_;
    std::unique_ptr<ReadingSession> session_;
    Appearance *appearance_ = nullptr;
    Startup *startup_ = nullptr;
    Shutdown *shutdown_ = nullptr;
    ReadingTimeKeeping *timeKeeping_ = nullptr;
    WindowModes *modes_ = nullptr;
};
