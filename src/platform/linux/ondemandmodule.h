#pragma once

#include <QLibrary>
#include <QString>

namespace platform {

// A module of the program's own (a shared library with a plain C interface)
// loaded by its first use and let go again once its owner is done with it,
// so that the libraries it pulls in leave the process between uses.
//
// Not thread-safe: the owner makes every call from one thread at a time,
// and unloads only when none of the module's code runs and none of its
// objects are alive.
class OnDemandModule {
public:
    // How long an owner keeps its module after the last use.
    static constexpr int IdleMs = 60000;

    explicit OnDemandModule(const QString &path = {});
    ~OnDemandModule();
    OnDemandModule(const OnDemandModule &) = delete;
    OnDemandModule &operator=(const OnDemandModule &) = delete;

    QString path() const { return m_path; }
    // Loads the module unless it is loaded; false when it cannot be.
    bool load();
    // The symbol name of the loaded module; null when it is not loaded or
    // lacks it.
    template <typename Function>
    Function symbol(const char *name)
    {
        return m_loaded ? reinterpret_cast<Function>(m_library.resolve(name)) : nullptr;
    }
    void unload();
    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_library.errorString(); }

private:
    QString m_path;
    QLibrary m_library;
    bool m_loaded = false;
};

} // namespace platform
