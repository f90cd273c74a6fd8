#pragma once

#include <QString>
#include <optional>

// The SHA-256 digest of a file as 64 lower-case hexadecimal digits, read in
// 1 MiB pieces; nothing when the file cannot be read. Blocks: call it off
// the main thread for large files.
std::optional<QString> sha256Hex(const QString &path);

enum class ChecksumResult { matches, differs, unreadable };

// Compares the file's digest with the expected text in time that does not
// depend on where they differ; texts of different lengths differ.
ChecksumResult verifyChecksum(const QString &path, const QString &expected);
