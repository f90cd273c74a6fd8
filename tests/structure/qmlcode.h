#pragma once

#include <QString>

namespace qmlcode {

// The QML text with comments and string literals blanked (each character
// becomes a space, line ends stay), so that only code is searched and
// positions still match the text.
QString codeOf(const QString &qml);

} // namespace qmlcode
