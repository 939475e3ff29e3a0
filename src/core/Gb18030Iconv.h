#pragma once
// GB18030 through the C library's iconv, which decodes it faster than Qt's
// decoder (ICU) does, for the stretches of a book where that gives Qt's text
// to the character.
//
// The two tables agree on every byte sequence iconv takes, except where the
// editions of GB18030 moved a character between the Private Use Area and a
// standard code point: glibc 2.36 makes U+FE10..U+FE19, U+9FB4..U+9FBB and
// six characters beyond the BMP of what ICU 72 reads as private use. A
// stretch whose text holds a character of that kind (U+1E3F, the private use
// area, anything beyond the BMP and those ranges) is left to Qt.
// tests/core/Gb18030IconvTest.cpp holds the libraries to that, sequence by
// sequence.
#include <QByteArrayView>
#include <QString>

// Appends the text of `bytes` as Qt's GB18030 decoder, fresh and fed them in
// one go, makes it, and returns true; returns false, leaving `text` as it
// was, when iconv cannot promise that: a byte sequence it does not take, one
// cut off at the end, or a character on which the tables may disagree.
bool AppendGb18030ByIconv(QByteArrayView bytes, QString &text);
