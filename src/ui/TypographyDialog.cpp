#include "ui/TypographyDialog.h"

#include "ui/ModalDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr Indentation kIndentations[] = {Indentation::AsInFile, Indentation::TwoFullWidth, Indentation::None};
constexpr BlankLines kBlankLines[] = {BlankLines::Keep, BlankLines::Collapse, BlankLines::Remove};

QDoubleSpinBox *LinesBox(double least, double most, const QString &suffix, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(least, most);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setSuffix(suffix);
    return box;
}

QSpinBox *NumberBox(int most, const QString &suffix, const QString &name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(0, most);
    box->setSuffix(suffix);
    box->setAccessibleName(name);
    return box;
}

template <typename Choice, std::size_t N>
QComboBox *ChoiceBox(const Choice (&choices)[N], QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (Choice choice : choices)
        box->addItem(NameOf(choice));
    return box;
}

class TypographyDialog : public QDialog {
public:
    TypographyDialog(QWidget *parent, const std::function<void(const Typography &)> &preview)
        : QDialog(parent), preview_(preview)
    {
        setWindowTitle(QStringLiteral("排版"));
        auto *form = new QFormLayout(this);
        form->addRow(QStringLiteral("行距"), lineSpacing_);
        form->addRow(QStringLiteral("段距"), paragraphSpacing_);
        auto *margins = new QHBoxLayout;
        margins->addWidget(sideMargin_);
        margins->addWidget(topMargin_);
        form->addRow(QStringLiteral("页边距（左右、上下）"), margins);
        form->addRow(QStringLiteral("首行缩进"), indentation_);
        form->addRow(QStringLiteral("空行"), blankLines_);
        columnCharacters_->setSpecialValueText(QStringLiteral("整个窗格"));
        form->addRow(QStringLiteral("正文宽度"), columnCharacters_);
        form->addRow(justify_);
        auto *buttons = new QDialogButtonBox(
            QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
        buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("默认"));
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
                [this] { Show(Typography{}); });
        WatchChanges();
    }

    // Sets every field from the typography; the pane follows once.
    void Show(const Typography &typography)
    {
        showing_ = true;
        lineSpacing_->setValue(typography.lineSpacing);
        paragraphSpacing_->setValue(typography.paragraphSpacing);
        sideMargin_->setValue(typography.sideMargin);
        topMargin_->setValue(typography.topMargin);
        indentation_->setCurrentIndex(int(typography.indentation));
        blankLines_->setCurrentIndex(int(typography.blankLines));
        columnCharacters_->setValue(typography.columnCharacters);
        justify_->setChecked(typography.justify);
        showing_ = false;
        Changed();
    }

    Typography Chosen() const
    {
        Typography typography;
        typography.lineSpacing = lineSpacing_->value();
        typography.paragraphSpacing = paragraphSpacing_->value();
        typography.sideMargin = sideMargin_->value();
        typography.topMargin = topMargin_->value();
        typography.indentation = kIndentations[indentation_->currentIndex()];
        typography.blankLines = kBlankLines[blankLines_->currentIndex()];
        typography.columnCharacters = columnCharacters_->value();
        typography.justify = justify_->isChecked();
        return typography;
    }

private:
    void WatchChanges()
    {
        for (QDoubleSpinBox *box : {lineSpacing_, paragraphSpacing_})
            connect(box, &QDoubleSpinBox::valueChanged, this, &TypographyDialog::Changed);
        for (QSpinBox *box : {sideMargin_, topMargin_, columnCharacters_})
            connect(box, &QSpinBox::valueChanged, this, &TypographyDialog::Changed);
        for (QComboBox *box : {indentation_, blankLines_})
            connect(box, &QComboBox::currentIndexChanged, this, &TypographyDialog::Changed);
        connect(justify_, &QCheckBox::toggled, this, &TypographyDialog::Changed);
    }

    void Changed()
    {
        if (!showing_)
            preview_(Chosen());
    }

    std::function<void(const Typography &)> preview_;
    QDoubleSpinBox *lineSpacing_ = LinesBox(kLeastLineSpacing, kMostLineSpacing, QStringLiteral(" 倍"), this);
    QDoubleSpinBox *paragraphSpacing_ = LinesBox(0, kMostParagraphSpacing, QStringLiteral(" 行"), this);
    QSpinBox *sideMargin_ = NumberBox(kMostMargin, QStringLiteral(" 像素"), QStringLiteral("左右页边距"), this);
    QSpinBox *topMargin_ = NumberBox(kMostMargin, QStringLiteral(" 像素"), QStringLiteral("上下页边距"), this);
    QComboBox *indentation_ = ChoiceBox(kIndentations, this);
    QComboBox *blankLines_ = ChoiceBox(kBlankLines, this);
    QSpinBox *columnCharacters_ =
        NumberBox(kMostColumnCharacters, QStringLiteral(" 字"), QStringLiteral("正文宽度"), this);
    QCheckBox *justify_ = new QCheckBox(QStringLiteral("两端对齐"), this);
    bool showing_ = false;
};

} // namespace

std::optional<Typography> AskTypography(QWidget *parent, const Typography &current,
                                        const std::function<void(const Typography &)> &preview)
{
    auto *dialog = new TypographyDialog(parent, preview);
    dialog->Show(current);
    std::optional<Typography> chosen;
    RunModalDialog(dialog, [&chosen](const TypographyDialog &confirmed) { chosen = confirmed.Chosen(); });
    return chosen;
}
