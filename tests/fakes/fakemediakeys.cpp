#include "fakes/fakemediakeys.h"

bool FakeMediaKeys::installTap(TapCallback callback)
{
    ++tapInstalls;
    if (tapFailures > 0) {
        --tapFailures;
        return false;
    }
    m_tap = std::move(callback);
    return true;
}

bool FakeMediaKeys::applyKeyRemap(const QByteArray &json)
{
    remapCalls.append(json);
    return remapSucceeds;
}

bool FakeMediaKeys::installHotKeyHandler(HotKeyCallback callback)
{
    if (!hotKeyHandlerSucceeds)
        return false;
    m_hotKeyHandler = std::move(callback);
    return true;
}

bool FakeMediaKeys::registerHotKey(int id, int virtualKeyCode)
{
    if (failingHotKeys.contains(id))
        return false;
    m_hotKeys.insert(id, virtualKeyCode);
    return true;
}

bool FakeMediaKeys::tap(const platform::CapturedKey &key)
{
    return m_tap ? m_tap(key) : false;
}

bool FakeMediaKeys::pressHotKey(int id)
{
    if (!m_hotKeyHandler || !m_hotKeys.contains(id))
        return false;
    m_hotKeyHandler(id);
    return true;
}
