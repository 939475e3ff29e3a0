#include "support/FakePane.h"

#include "session/ReadingSession.h"

#include <algorithm>

FakePane::FakePane(ReadingSession &session) : session_(session)
{
    connect(&session, &ReadingSession::textShown, this, &FakePane::Show);
    connect(&session, &ReadingSession::scrollRequested, this, &FakePane::ScrollToPosition);
    connect(&session, &ReadingSession::scrollLinesRequested, this, &FakePane::ScrollLines);
    connect(&session, &ReadingSession::scrollToEndRequested, this, [this] { ScrollTo(LastTop()); });
    connect(&session, &ReadingSession::selectionRequested, this, [this](qsizetype position, qsizetype length) {
        selection_ = {position, length};
        ScrollToPosition(position);
    });
}

void FakePane::Show(const QString &text)
{
    text_ = text;
    lineStarts_ = {0};
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1))
        if (i + 1 < text.size())
            lineStarts_.append(i + 1);
    selection_ = {-1, 0};
    top_ = 0;
    session_.OnTopLineMoved(0, 0);
}

void FakePane::ScrollToPosition(qsizetype position)
{
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    ScrollTo(int(after - lineStarts_.begin()) - 1);
}

void FakePane::ScrollLines(int lines)
{
    ScrollTo(top_ + lines);
}

void FakePane::ScrollTo(int line)
{
    top_ = qBound(0, line, LastTop());
    session_.OnTopLineMoved(top_, lineStarts_[top_]);
}

int FakePane::LastTop() const
{
    return qMax(0, int(lineStarts_.size()) - kLinesOnScreen);
}
