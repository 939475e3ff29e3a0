#pragma once
#include <QList>

// The middle value (the mean of the middle two for an even count); 0 for none.
double Median(QList<double> values);
