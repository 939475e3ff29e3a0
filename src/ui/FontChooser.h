#pragma once
// Modal font chooser with effects: family, style (bold, italic), size in
// points, underline, strikeout and a text colour. It keeps its values between
// showings: it opens on the last confirmed choice, or on the default reading
// font (DefaultFont.h), regular, black.
#include <QFont>
#include <QObject>
#include <QString>

class QWidget;

class FontChooser : public QObject {
    Q_OBJECT
public:
    explicit FontChooser(QObject *parent = nullptr);

    // True when the user confirmed; the results below then hold the choice. A
    // cancel leaves them as they were.
    bool Show(QWidget *parent);

    // 0x00BBGGRR.
    int Colour() const;
    bool Bold() const;
    bool Italic() const;
    bool Underline() const;
    bool StrikeOut() const;
    QString FontName() const;
    // Whole points.
    int Size() const;

private:
    QFont font_;
    int colour_;
};
