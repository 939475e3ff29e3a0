#pragma once
#include <QByteArray>
#include <QString>
QByteArray ToGbk(const QString &text);
