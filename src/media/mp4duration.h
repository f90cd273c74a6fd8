#pragma once

#include <QString>

// The duration an MP4 file (.m4a, .mp4) declares in its movie header, in
// seconds; 0 when the file cannot be read or holds no usable header.
double mp4DurationSeconds(const QString &path);
