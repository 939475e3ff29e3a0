#include "ui/FontChooser.h"

#include "ui/ColourChooser.h"
#include "ui/ColourRef.h"
#include "ui/DefaultFont.h"
#include "ui/ModalDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kBlack = 0;

// Qt's font dialog shown as a panel inside our own dialog: without buttons,
// leaving Enter and Escape to the dialog around it.
class FontPanel : public QFontDialog {
public:
    FontPanel(const QFont &font, QWidget *parent) : QFontDialog(font, parent)
    {
        setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        setWindowFlags(Qt::Widget);
        setSizeGripEnabled(false);
    }

protected:
    // QDialog's own Esc and Enter would close this dialog inside the chooser.
    void keyPressEvent(QKeyEvent *event) override
    {
        QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
    }
};

// A button that shows a colour and lets the user pick another one.
class ColourButton : public QPushButton {
public:
    ColourButton(int colour, QWidget *parent) : QPushButton(parent)
    {
        setAutoDefault(false);
        SetColour(colour);
        connect(this, &QPushButton::clicked, this, [this] {
            ColourChooser chooser(colour_);
            if (chooser.Show(window()))
                SetColour(chooser.Colour());
        });
    }

    int Colour() const { return colour_; }

private:
    void SetColour(int colour)
    {
        colour_ = colour;
        QPixmap swatch(48, 16);
        swatch.fill(ColourFromRef(colour));
        setIcon(QIcon(swatch));
        setIconSize(swatch.size());
    }

    int colour_;
};

class FontChooserDialog : public QDialog {
public:
    FontChooserDialog(const QFont &font, int colour, QWidget *parent)
        : QDialog(parent), panel_(new FontPanel(font, this)), colourButton_(new ColourButton(colour, this))
    {
        setWindowTitle(panel_->windowTitle());
        panel_->setObjectName(QStringLiteral("fontPanel"));
        colourButton_->setObjectName(QStringLiteral("colourButton"));
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->setObjectName(QStringLiteral("buttons"));
        // The hidden buttons of the panel include a default one, so the box
        // would not make its own OK the default on its own.
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);

        auto *colourRow = new QHBoxLayout;
        auto *colourLabel = new QLabel(QStringLiteral("颜色"), this);
        colourLabel->setBuddy(colourButton_);
        colourRow->addWidget(colourLabel);
        colourRow->addWidget(colourButton_);
        colourRow->addStretch();

        auto *layout = new QVBoxLayout(this);
        layout->addWidget(panel_);
        layout->addLayout(colourRow);
        layout->addWidget(buttons);

        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        // The panel still closes itself on Enter in its lists; that ends the
        // whole dialog the same way.
        connect(panel_, &QDialog::finished, this, &QDialog::done);
    }

    QFont Font() const { return panel_->currentFont(); }
    int Colour() const { return colourButton_->Colour(); }

private:
    FontPanel *panel_;
    ColourButton *colourButton_;
};

} // namespace

FontChooser::FontChooser(QObject *parent) : QObject(parent), font_(DefaultReadingFont()), colour_(kBlack) {}

bool FontChooser::Show(QWidget *parent)
{
    return RunModalDialog(new FontChooserDialog(font_, colour_, parent), [this](FontChooserDialog &confirmed) {
        font_ = confirmed.Font();
        colour_ = confirmed.Colour();
    });
}

int FontChooser::Colour() const
{
    return colour_;
}

bool FontChooser::Bold() const
{
    return font_.bold();
}

bool FontChooser::Italic() const
{
    return font_.italic();
}

bool FontChooser::Underline() const
{
    return font_.underline();
}

bool FontChooser::StrikeOut() const
{
    return font_.strikeOut();
}

QString FontChooser::FontName() const
{
    return font_.family();
}

int FontChooser::Size() const
{
    return font_.pointSize();
}
