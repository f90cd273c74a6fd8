#pragma once

// The zip archive writer behind a plain C interface, built as a module of
// its own: libarchive and the compression libraries it pulls in are loaded
// when the first archive is made, not with the program.
extern "C" {

// Writes a zip archive at archivePath from count inputs (in order), every
// path the file system's bytes. Every input keeps its own top folder; names
// are stored as the bytes they are, marked as UTF-8 when they are;
// symbolic links are stored as links. 0 when the archive was written; a
// failed archive is removed. note (noteSize bytes, NUL-terminated): for a
// written archive the names of the entries left out, one a line; else why
// it was not written.
int pavlet_zip_write(const char *const *inputs, int count, const char *archivePath, char *note, int noteSize);

using PavletZipWrite = int (*)(const char *const *, int, const char *, char *, int);
}
