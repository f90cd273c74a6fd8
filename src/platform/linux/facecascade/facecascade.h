#pragma once

// OpenCV's Haar cascade search behind a plain C interface, built as a module
// of its own: OpenCV and everything it pulls in are loaded only when the
// first face search runs, not with the program.
extern "C" {

struct PavletFaceCascade;

// Reads a cascade file; null when it cannot be read.
PavletFaceCascade *pavlet_face_cascade_load(const char *path);
void pavlet_face_cascade_free(PavletFaceCascade *cascade);
// Searches an 8-bit grey picture for faces of at least minSide pixels.
// Writes up to maxFaces rectangles as x, y, width, height (pixels) into
// rects and returns how many faces were found, or -1 when the search failed.
int pavlet_face_cascade_detect(PavletFaceCascade *cascade, const unsigned char *gray, int width, int height,
                               int bytesPerLine, int minSide, int *rects, int maxFaces);

using PavletFaceCascadeLoad = PavletFaceCascade *(*)(const char *);
using PavletFaceCascadeFree = void (*)(PavletFaceCascade *);
using PavletFaceCascadeDetect = int (*)(PavletFaceCascade *, const unsigned char *, int, int, int, int, int *, int);
}
