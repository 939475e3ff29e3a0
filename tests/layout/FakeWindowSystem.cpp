#include "FakeWindowSystem.h"

#include <QTest>

void FakeWindowSystem::AddWindow(WindowHandle window, WindowHandle parent, FakeGeometry geometry)
{
    windows_[window] = {parent, geometry};
}

void FakeWindowSystem::Place(WindowHandle window, FakeGeometry geometry)
{
    windows_.at(window).geometry = geometry;
}

void FakeWindowSystem::Resize(WindowHandle window, int width, int height)
{
    FakeGeometry &geometry = windows_.at(window).geometry;
    geometry.width = width;
    geometry.height = height;
}

FakeGeometry FakeWindowSystem::Geometry(WindowHandle window) const
{
    return windows_.at(window).geometry;
}

WindowPoint FakeWindowSystem::ScreenOrigin(WindowHandle window) const
{
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return {};
    const WindowPoint parentOrigin = ScreenOrigin(found->second.parent);
    return {parentOrigin.x + found->second.geometry.x, parentOrigin.y + found->second.geometry.y};
}

WindowHandle FakeWindowSystem::GetParent(WindowHandle window) const
{
    const auto found = windows_.find(window);
    return found == windows_.end() ? 0 : found->second.parent;
}

WindowRect FakeWindowSystem::GetClientRect(WindowHandle window) const
{
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return {};
    return {0, 0, found->second.geometry.width, found->second.geometry.height};
}

WindowRect FakeWindowSystem::GetWindowRect(WindowHandle window) const
{
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return {};
    const WindowPoint origin = ScreenOrigin(window);
    const FakeGeometry &geometry = found->second.geometry;
    return {origin.x, origin.y, origin.x + geometry.width, origin.y + geometry.height};
}

WindowPoint FakeWindowSystem::ScreenToClient(WindowHandle window, WindowPoint screenPoint) const
{
    if (!windows_.contains(window))
        return screenPoint;
    const WindowPoint origin = ScreenOrigin(window);
    return {screenPoint.x - origin.x, screenPoint.y - origin.y};
}

void FakeWindowSystem::MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint)
{
    const FakeGeometry geometry{x, y, width, height};
    moves_.push_back({window, geometry, repaint});
    const auto found = windows_.find(window);
    if (found != windows_.end())
        found->second.geometry = geometry;
}

void AddClientArea(FakeWindowSystem &windows, int width, int height)
{
    windows.AddWindow(kMainWindow, 0, {300, 200, width + 16, height + 64});
    windows.AddWindow(kClientArea, kMainWindow, {0, 25, width, height});
}

char *toString(const FakeGeometry &geometry)
{
    return QTest::toString(
        QStringLiteral("(%1, %2, %3 x %4)").arg(geometry.x).arg(geometry.y).arg(geometry.width).arg(geometry.height));
}
