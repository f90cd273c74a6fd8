#pragma once

#include <QString>

// What the collapsed island carries beside the notch.
namespace CompactIsland {

struct Inputs {
    bool isPlaying = false;
    bool hasArtwork = false;
    int source = 0;
    bool playerHidden = false;
    bool showVisualizer = false;
    bool timerRunning = false;
    bool previewingPlayer = false;
    bool previewingTimer = false;
    bool previewingAmbient = false;
    bool showAmbientSmile = false;
    bool gameModeHidden = false;
    bool gameModeOn = false;
    bool gameModeHover = false;
    bool gameModeToast = false;
    bool floating = false;
    double notchHeight = 32;
};

enum class Trailing { none, lock, idle };

struct Layout {
    bool playerActive = false;
    bool showsArtwork = false;
    bool showsBars = false;
    bool showsTimer = false;
    bool showsToast = false;
    Trailing trailing = Trailing::none;
    // The idle decoration's inputs.
    bool showSmile = false;
    QString barsColorName;
    // Artwork tile of the source.
    QString artworkColorName;
    QString artworkSymbol;
    double leadingPad = 0;
    double trailingPad = 0;
    double rowTop = 0;
    double toastTop = 0;
};

Layout layout(const Inputs &in);

} // namespace CompactIsland
