#pragma once

#include <QString>

// Where the tools put what they make.
namespace ToolFolders {
// The user's Downloads folder; "Downloads" in the home folder when the
// desktop names none.
QString downloads();
// The pocket's copies: "PavletPocket" in the user's cache folder (the
// temporary folder when there is none).
QString pocket();
} // namespace ToolFolders
