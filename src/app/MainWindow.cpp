#include "MainWindow.h"

#include "EditBox.h"
#include "ListBox.h"
#include "NotifyLabel.h"
#include "ReaderState.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>

namespace {

template <typename Control>
Control *Place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(left, top, width, height);
    return control;
}

} // namespace

MainWindow::MainWindow(ReaderState &state, QWidget *parent) : QMainWindow(parent), state_(state)
{
    CreateControls();
    CreateMenus();
    WireEvents();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls()
{
    setWindowTitle(QStringLiteral("Folivar"));
    setWindowIcon(QIcon(QStringLiteral(":/folivar/icon.png")));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    controls_.mainWindow = this;

    // Created bottom of the stacking order first: the pane must lie above the
    // lists so that widening it over them hides them.
    controls_.列表框_文件 = Place(new ListBox(client), "列表框_文件", 1, 0, 165, 272);
    controls_.列表框_章节 = Place(new ListBox(client), "列表框_章节", 1, 272, 165, 232);
    controls_.列表框_章节->viewport()->setCursor(Qt::PointingHandCursor);
    controls_.编辑框_内容 = Place(new EditBox(client), "编辑框_内容", 169, 0, 712, 504);
    controls_.编辑框_内容->SetTextColour(0);
    controls_.编辑框_内容->SetBackgroundColour(0xFFFFFF);
    QFont paneFont(QStringLiteral("Noto Sans CJK SC"), 12);
    controls_.编辑框_内容->setFont(paneFont);

    controls_.标签_状态显示 =
        Place(new NotifyLabel(QStringLiteral("标签_状态显示"), client), "标签_状态显示", 184, 80, 120, 22);
    controls_.标签_热键反馈 =
        Place(new NotifyLabel(QStringLiteral("标签_热键反馈"), client), "标签_热键反馈", 328, 136, 112, 24);
    controls_.编辑框_路径 = Place(new QLineEdit(client), "编辑框_路径", 168, 64, 80, 20);
    controls_.标签_状态显示->hide();
    controls_.标签_热键反馈->hide();
    controls_.编辑框_路径->hide();
    controls_.编辑框_内容->setFocus();
}

void MainWindow::CreateMenus()
{
}

void MainWindow::AddMenuItem(QMenu *menu, const QString &text, std::function<void()> handler)
{
    QAction *action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

void MainWindow::WireEvents()
{
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
}
