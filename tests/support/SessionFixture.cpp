#include "support/SessionFixture.h"

#include "platform/SpeechEngine.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <fstream>

namespace {

class SilentSpeech : public SpeechEngine {
public:
    void Start() override { SetFailed(QStringLiteral("no speech in these tests")); }
    void Say(const QString &) override {}
    void Stop() override {}
    void SetRate(double) override {}
    QStringList Voices() const override { return {}; }
    void SetVoice(const QString &) override {}
    QString Voice() const override { return {}; }
};

} // namespace

SessionFixture::SessionFixture()
    : session_(std::make_unique<ReadingSession>(store_, shelf_, preferences_, std::make_unique<SilentSpeech>())),
      pane_(std::make_unique<FakePane>(*session_))
{
    QObject::connect(session_.get(), &ReadingSession::bookShown, [this] { ++shown_; });
    QObject::connect(&shelf_, &Shelf::loadProgress, [this](int percentage) { hundreds_ += percentage == 100; });
}

// QTemporaryDir leaves the files whose names Qt cannot list.
SessionFixture::~SessionFixture()
{
    session_->Close();
    std::filesystem::remove_all(QFile::encodeName(books_.path()).toStdString());
}

void SessionFixture::AddBook(const QString &name, const QByteArray &bytes) const
{
    QFile file(QDir(books_.path()).filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void SessionFixture::AddBookWithName(const QByteArray &fileName, const QByteArray &bytes) const
{
    std::ofstream(QFile::encodeName(BookFolder()).append(fileName).toStdString(), std::ios::binary)
        .write(bytes.constData(), bytes.size());
}

void SessionFixture::ListBooks()
{
    session_->OnOpenFolder(BookFolder());
}

void SessionFixture::OpenBookAt(int row)
{
    session_->OnBookSelected(row);
    WaitForLoads();
}

// The 100 follows the book it belongs to; a failed load tells none.
void SessionFixture::WaitForLoads()
{
    if (!WaitUntil([this] { return !shelf_.IsLoading() && hundreds_ >= shown_; }))
        qWarning("the load did not end");
}
