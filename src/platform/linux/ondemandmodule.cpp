#include "platform/linux/ondemandmodule.h"

namespace platform {

OnDemandModule::OnDemandModule(const QString &path)
    : m_path(path)
{
    m_library.setFileName(path);
}

OnDemandModule::~OnDemandModule()
{
    unload();
}

bool OnDemandModule::load()
{
    // Loaded through this object's own load(), so that its unload() lets go
    // of its hold even while another object holds the same file.
    if (!m_loaded)
        m_loaded = m_library.load();
    return m_loaded;
}

void OnDemandModule::unload()
{
    if (m_loaded)
        m_library.unload();
    m_loaded = false;
}

} // namespace platform
