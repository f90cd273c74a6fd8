#pragma once

// A display that goes away while a program of ours starts (the session ends
// during autostart, the X server restarts) ends it with one line that says
// so and status 1, rather than an abort or a crash with a core: Qt aborts
// when it cannot connect, and OpenGL's and Qt's X code read past replies
// that never came once the connection is broken.
//
// Built into the program and its renderer probe only.
namespace DisplayGuard {

// Before the program first talks to the display. program names the program
// in the line it prints. From then on a crash, an abort or a broken pipe
// while the display is gone ends the program with that line and status 1;
// any other is left as it was (default action, core and all).
void watch(const char *program);

// Once the QGuiApplication exists: its X connection, whose break is the
// surest sign that the display went away.
void connected();

// Ends the program as above when the display has gone away; returns when it
// is still there. For a failure that may have been the display's.
void leaveIfGone();

} // namespace DisplayGuard
