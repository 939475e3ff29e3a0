#include "app/MainWindow.h"

#include "app/BookDrop.h"
#include "app/BookFromOutside.h"
#include "app/BookSyncing.h"
#include "app/ChapterEditingWiring.h"
#include "app/FirstStartGuide.h"
#include "app/HighlightMenu.h"
#include "app/HotKeyMenu.h"
#include "app/MenuBar.h"
#include "app/ReadAloudMenu.h"
#include "app/ReaderServices.h"
#include "app/ReadingProgress.h"
#include "app/ReadingTimeKeeping.h"
#include "app/Shutdown.h"
#include "app/Startup.h"
#include "app/ViewBindings.h"
#include "app/WindowModes.h"
#include "layout/RelayoutAll.h"
#include "platform/SpeechEngine.h"
#include "platform/TerminationRequests.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "tools/Appearance.h"
#include "tools/FullScreen.h"
#include "tools/HotKey.h"
#include "ui/ColourChooser.h"
#include "ui/DefaultFont.h"
#include "ui/EditBox.h"
#include "ui/FilterField.h"
#include "ui/FocusFrame.h"
#include "ui/FontChooser.h"
#include "ui/ListBox.h"
#include "ui/ListWindow.h"
#include "ui/MessageStrip.h"
#include "ui/NotifyLabel.h"
#include "ui/QtTranslations.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QShortcut>

// The icon sits in this static library's resources, which a linker may drop
// unless they are asked for (outside any namespace, as the macro requires).
static void LoadResources()
{
    Q_INIT_RESOURCE(folivar);
}

namespace {

template <typename Control>
Control *Place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(left, top, width, height);
    return control;
}

// Designed outer geometry of the window, frame included.
const QRect kWindowFrame(50, 50, 884, 560);
// Below this the chapter list would shrink to nothing and the pane to a strip:
// both lists keep a few rows and the pane about twenty characters a line.
const QSize kSmallestWindow(560, 440);
// The book list's filter field, above the list.
constexpr int kFilterHeight = 24;

} // namespace

MainWindow::MainWindow(ReaderServices &services, QWidget *parent) : QMainWindow(parent), services_(services)
{
    // Qt's own dialogs speak the window's language.
    InstallQtTranslations(this);
    CreateControls();
    CreateReader();
    // The created event: the rest of start-up runs from the event loop, once
    // the window is up and the window manager has framed it. Queued before the
    // remembered book is asked for, it runs before that book is handed over.
    // The layouts are measured in the designed window; then it goes where and
    // as it was left.
    QMetaObject::invokeMethod(
        this,
        [this] {
            PlaceAtDesignedGeometry();
            startup_->OnWindowShown();
            modes_->PlaceRemembered(kWindowFrame);
        },
        Qt::QueuedConnection);
    // The remembered book loads while the window is being built.
    startup_->Begin();
    DescribeControls();
    FillMenuBar(*this, services_, *session_, *appearance_, *timeKeeping_, *modes_, controls_);
    WireEvents();
    modes_->AdoptRemembered();
    show();
    PlaceAtDesignedGeometry();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls()
{
    LoadResources();
    setWindowTitle(QStringLiteral("Folivar"));
    setWindowIcon(QIcon(QStringLiteral(":/folivar/icon.png")));
    resize(kWindowFrame.size());
    setMinimumSize(kSmallestWindow);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    controls_.mainWindow = this;

    // Created bottom of the stacking order first: the pane must lie above the
    // lists so that widening it over them hides them.
    // The filter field takes the book list's top row.
    controls_.bookFilter =
        Place(new FilterField(QStringLiteral("筛选书名"), client), "编辑框_筛选", 1, 0, 165, kFilterHeight);
    controls_.列表框_文件 = Place(new ListBox(client), "列表框_文件", 1, kFilterHeight, 165, 272 - kFilterHeight);
    controls_.列表框_章节 = Place(new ListBox(client), "列表框_章节", 1, 272, 165, 232);
    controls_.列表框_章节->viewport()->setCursor(Qt::PointingHandCursor);
    controls_.编辑框_内容 = Place(new EditBox(client), "编辑框_内容", 169, 0, 712, 504);
    controls_.编辑框_内容->setFont(DefaultReadingFont());
    controls_.编辑框_内容->SetTextColour(0);
    controls_.编辑框_内容->SetBackgroundColour(0xFFFFFF);

    controls_.标签_状态显示 =
        Place(new NotifyLabel(QStringLiteral("标签_状态显示"), client), "标签_状态显示", 184, 80, 120, 22);
    controls_.标签_热键反馈 =
        Place(new NotifyLabel(QStringLiteral("标签_热键反馈"), client), "标签_热键反馈", 328, 136, 112, 24);
    controls_.编辑框_路径 = Place(new QLineEdit(client), "编辑框_路径", 168, 64, 80, 20);
    controls_.标签_提示 = Place(new MessageStrip(client), "标签_提示", 171, 506, 708, 24);
    controls_.findWindow = new ListWindow(QStringLiteral("查找"), true, this);
    controls_.bookmarksWindow = new ListWindow(QStringLiteral("书签"), false, this);
    controls_.notesWindow = new ListWindow(QStringLiteral("笔记"), false, this);
    controls_.通用对话框2 = new FontChooser(this);
    controls_.选择颜色对话框1 = new ColourChooser(this);
    controls_.标签_状态显示->hide();
    controls_.标签_热键反馈->hide();
    controls_.编辑框_路径->hide();
    controls_.编辑框_内容->setFocus();
}

// The reader's objects, and the views bound to them.
void MainWindow::CreateReader()
{
    shelf_ = std::make_unique<Shelf>();
    session_ = std::make_unique<ReadingSession>(services_.store, *shelf_, services_.preferences, CreateSpeechEngine());
    appearance_ = new Appearance(services_.preferences, *controls_.编辑框_内容, *controls_.列表框_文件,
                                 *controls_.列表框_章节, this);
    startup_ = new Startup(services_, controls_, *session_, *appearance_, this);
    shutdown_ = new Shutdown(services_, controls_, *session_, this);
    timeKeeping_ =
        new ReadingTimeKeeping(*session_, *controls_.编辑框_内容, services_.store, services_.preferences, this);
    modes_ = new WindowModes(*this, controls_, services_);
    BindPane(*controls_.编辑框_内容, *session_);
    BindHighlights(controls_, *session_);
    BindChapterList(*controls_.列表框_章节, *session_);
    BindBookList(controls_, *session_);
    BindListWindows(controls_, *session_);
}

void MainWindow::DescribeControls()
{
    // What a screen reader announces, and the order Tab visits them in.
    controls_.bookFilter->setAccessibleName(QStringLiteral("筛选书名"));
    controls_.列表框_文件->setAccessibleName(QStringLiteral("书籍"));
    controls_.列表框_章节->setAccessibleName(QStringLiteral("章节"));
    controls_.编辑框_内容->setAccessibleName(QStringLiteral("正文"));
    setTabOrder(controls_.bookFilter, controls_.列表框_文件);
    setTabOrder(controls_.列表框_文件, controls_.列表框_章节);
    setTabOrder(controls_.列表框_章节, controls_.编辑框_内容);
    for (QWidget *control :
         {static_cast<QWidget *>(controls_.列表框_文件), static_cast<QWidget *>(controls_.列表框_章节),
          static_cast<QWidget *>(controls_.编辑框_内容)})
        new FocusFrame(control);
}

void MainWindow::PlaceAtDesignedGeometry()
{
    // The designed size is the outer one, frame included.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(kWindowFrame.size() - frame);
    move(kWindowFrame.topLeft());
}

void MainWindow::AddShortcut(Qt::Key key, std::function<void()> handler)
{
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [handler = std::move(handler)] { handler(); });
}

void MainWindow::WireEvents()
{
    ReadingSession &session = *session_;
    const ReaderControls &c = controls_;
    AddShortcut(Qt::Key_F11, [this] { OnToggleFullScreen(*this); });
    AddShortcut(Qt::Key_Escape, [this, &session] { OnEscapeKey(*this, session.Aloud()); });
    // The pane's own wheel scrolling is all the wheel does: no handler of ours.
    connect(c.标签_热键反馈, &NotifyLabel::notified, this,
            [this](int hotKey, int second) { OnHotKey(*this, hotKey, second); });
    LendHotKeyToTextFields(services_.hotKey, c);
    connect(shelf_.get(), &Shelf::folderListed, this,
            [this] { ShowGuideWithoutBooks(*session_, services_.preferences.Path()); });
    new BookDrop(*this, *c.编辑框_内容, session, *c.标签_提示);
    new ReadingProgress(session, *c.标签_提示, *timeKeeping_, this);
    WireSync(services_, session, *timeKeeping_, *c.标签_提示, this);
    WireOutside();
}

// A later start hands its book over; a request to end from outside (a
// signal, the session ending) closes the way the user does, so that shutdown
// runs, and dialogs that are open close too. closeAllWindows() skips hidden
// windows, and a window hidden with the hot key closes without the
// application noticing its last window went.
void MainWindow::WireOutside()
{
    if (services_.instance)
        connect(services_.instance, &ReaderInstance::handedOver, this, [this](const QStringList &books) {
            ShowInFront(*this);
            if (!books.isEmpty())
                OpenBookFromOutside(*session_, *controls_.标签_提示, books.first());
        });
    const auto closeDown = [this] {
        QApplication::closeAllWindows();
        close();
        QCoreApplication::quit();
    };
    WatchTerminationRequests(this, closeDown);
    connect(qApp, &QGuiApplication::commitDataRequest, this, closeDown);
    connect(qApp, &QCoreApplication::aboutToQuit, shutdown_, &Shutdown::Run);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Only the user's own close asks; a session ending does not wait for an answer.
    if (event->spontaneous() && !MayCloseWhileEditing(*session_, this))
        return event->ignore();
    shutdown_->Run();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // Without a window manager that honours the size hints, the window keeps
    // its least size itself.
    if (width() < minimumWidth() || height() < minimumHeight())
        resize(size().expandedTo(minimumSize()));
    RelayoutAll(services_.layoutTable, services_.windowSystem);
}
