#pragma once
// The one window: its controls, its menus and which handler each event
// reaches. The handlers themselves live with their subsystems.
#include "ui/ReaderControls.h"

#include <QMainWindow>
#include <functional>
#include <memory>

struct ReaderState;
class ReadingSession;
class Shelf;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ReaderState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    const ReaderControls &Controls() const { return controls_; }
    ReadingSession &Session() const { return *session_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void CreateControls();
    void DescribeControls();
    void WireEvents();
    void PlaceAtDesignedGeometry();
    void WireWindows();
    void AddShortcut(Qt::Key key, std::function<void()> handler);

    ReaderState &state_;
    ReaderControls controls_;
    // Destroyed before the controls they show books in.
    std::unique_ptr<Shelf> shelf_;
    std::unique_ptr<ReadingSession> session_;
};
