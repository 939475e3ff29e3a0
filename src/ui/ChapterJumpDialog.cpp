#include "ui/ChapterJumpDialog.h"

#include "ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// What the dialog says when `query` names no chapter of a book of `chapters`
// numbered chapters: the numbers there are.
QString ChapterNotFoundText(const QString &query, int chapters)
{
    if (chapters < 1)
        return QStringLiteral("找不到：%1（这本书没有编号的章节）").arg(query.trimmed());
    return QStringLiteral("找不到：%1（章节序号为 1–%2）").arg(query.trimmed(), QString::number(chapters));
}

class ChapterJumpDialog : public QDialog {
public:
    ChapterJumpDialog(QWidget *parent, int chapters, const std::function<int(const QString &)> &find)
        : QDialog(parent), chapters_(chapters), find_(find), query_(new QLineEdit(this)), answer_(new QLabel(this))
    {
        setWindowTitle(QStringLiteral("跳转到章节"));
        auto *prompt = new QLabel(QStringLiteral("章节序号或标题中的字词："), this);
        prompt->setBuddy(query_);
        query_->setAccessibleName(QStringLiteral("章节"));
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(prompt);
        layout->addWidget(query_);
        layout->addWidget(answer_);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &ChapterJumpDialog::LookUp);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    int Chapter() const { return chapter_; }

private:
    void LookUp()
    {
        chapter_ = find_(query_->text());
        if (chapter_ >= 0)
            return accept();
        answer_->setText(ChapterNotFoundText(query_->text(), chapters_));
        query_->selectAll();
    }

    int chapters_;
    std::function<int(const QString &)> find_;
    QLineEdit *query_;
    QLabel *answer_;
    int chapter_ = -1;
};

} // namespace

std::optional<int> AskChapterToJump(QWidget *parent, int chapters, const std::function<int(const QString &)> &find)
{
    std::optional<int> chapter;
    RunModalDialog(new ChapterJumpDialog(parent, chapters, find),
                   [&chapter](const ChapterJumpDialog &confirmed) { chapter = confirmed.Chapter(); });
    return chapter;
}
