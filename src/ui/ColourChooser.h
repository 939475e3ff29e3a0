#pragma once
// Modal colour chooser. It keeps its colour between showings: it opens on the
// last confirmed colour, or on its starting colour (white unless given).
#include <QObject>

class QWidget;

class ColourChooser : public QObject {
    Q_OBJECT
public:
    explicit ColourChooser(QObject *parent = nullptr);
    explicit ColourChooser(int initialColour, QObject *parent = nullptr);

    // True when the user confirmed; Colour() then holds the choice. A cancel
    // leaves it as it was.
    bool Show(QWidget *parent);
    // 0x00BBGGRR.
    int Colour() const;

private:
    int colour_;
};
