#pragma once

#include "update/updatetypes.h"

// A published version with its notes, as the update host lists it.
inline UpdateManifest manifest(const QString &version, const QString &notes)
{
    UpdateManifest m;
    m.version = version;
    m.notes = notes;
    return m;
}
