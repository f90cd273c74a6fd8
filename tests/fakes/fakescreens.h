#pragma once

#include "platform/globalhotkey.h"
#include "platform/pointer.h"
#include "platform/screenprovider.h"
#include "platform/workspace.h"

#include <QSet>

// Screens a test lays out by hand (y-up rectangles).
class FakeScreenProvider final : public platform::IScreenProvider {
public:
    QList<platform::ScreenInfo> list;
    std::optional<int> mainIndex = 0;
    double pivot = 982;

    QList<platform::ScreenInfo> screens() const override { return list; }
    std::optional<platform::ScreenInfo> mainScreen() const override
    {
        if (!mainIndex || *mainIndex >= list.size())
            return std::nullopt;
        return list.at(*mainIndex);
    }
    double primaryHeight() const override { return pivot; }
    void change() { emit screensChanged(); }

    // A plain screen of w x h with its bottom-left at (x, y).
    static platform::ScreenInfo plain(const QString &name, double x, double y, double w, double h, double barHeight = 0)
    {
        platform::ScreenInfo s;
        s.name = name;
        s.frame = QRectF(x, y, w, h);
        s.visibleFrame = QRectF(x, y, w, h - barHeight);
        return s;
    }
};

class FakePointerLocation final : public platform::IPointerLocation {
public:
    QPointF at;
    QPointF position() const override { return at; }
};

class FakeClickMonitor final : public platform::IGlobalClickMonitor {
public:
    bool available = true;
    bool running = false;
    bool start() override { return running = available; }
    void stop() override { running = false; }
    void click(qint64 number, QPointF at = {}) { emit clicked(number, at); }
};

// Records what the hot-key centre asks of the system.
class FakeGlobalHotkey final : public platform::IGlobalHotkey {
public:
    bool handlerWorks = true;
    bool grabWorks = true;
    bool handler = false;
    bool grabbed = false;
    int installs = 0;
    int grabs = 0;

    bool installHandler() override
    {
        ++installs;
        return handler = handlerWorks;
    }
    void removeHandler() override { handler = false; }
    bool grab() override
    {
        ++grabs;
        return grabbed = grabWorks;
    }
    void ungrab() override { grabbed = false; }
    // The chord goes down; it reaches the centre only while grabbed.
    void press()
    {
        if (grabbed && handler)
            emit pressed();
    }
};

class FakeWorkspace final : public platform::IWorkspace {
public:
    QList<platform::WorkspaceWindow> list;
    QSet<quint64> gone;
    QList<quint64> minimized, restored;

    QList<platform::WorkspaceWindow> windows() const override { return list; }
    void minimize(quint64 id) override { minimized << id; }
    void restore(quint64 id) override { restored << id; }
    bool exists(quint64 id) const override { return !gone.contains(id); }
};
