#pragma once

#include "island/islandmetrics.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace CompactIsland {
enum class Trailing { none, lock, idle };
}

// What the collapsed island carries beside the notch, as the compact view
// lays it out. Colours go through the accent resolver.
struct CompactLayout {
    Q_GADGET
    QML_VALUE_TYPE(compactLayout)
    Q_PROPERTY(bool showsArtwork MEMBER showsArtwork CONSTANT)
    Q_PROPERTY(bool showsBars MEMBER showsBars CONSTANT)
    Q_PROPERTY(bool showsTimer MEMBER showsTimer CONSTANT)
    Q_PROPERTY(bool showsToast MEMBER showsToast CONSTANT)
    Q_PROPERTY(bool showsLock READ showsLock CONSTANT)
    Q_PROPERTY(bool showsIdle READ showsIdle CONSTANT)
    Q_PROPERTY(bool showSmile MEMBER showSmile CONSTANT)
    Q_PROPERTY(QColor barsColor MEMBER barsColor CONSTANT)
    Q_PROPERTY(QColor artworkColor MEMBER artworkColor CONSTANT)
    Q_PROPERTY(QString artworkSymbol MEMBER artworkSymbol CONSTANT)
    Q_PROPERTY(double leadingPad MEMBER leadingPad CONSTANT)
    Q_PROPERTY(double trailingPad MEMBER trailingPad CONSTANT)
    Q_PROPERTY(double rowTop MEMBER rowTop CONSTANT)
    Q_PROPERTY(double toastTop MEMBER toastTop CONSTANT)
public:
    bool playerActive = false;
    bool showsArtwork = false;
    bool showsBars = false;
    bool showsTimer = false;
    bool showsToast = false;
    CompactIsland::Trailing trailing = CompactIsland::Trailing::none;
    // The idle decoration's inputs.
    bool showSmile = false;
    QColor barsColor;
    // Artwork tile of the source.
    QColor artworkColor;
    QString artworkSymbol;
    double leadingPad = 0;
    double trailingPad = 0;
    double rowTop = 0;
    double toastTop = 0;

    bool showsLock() const { return trailing == CompactIsland::Trailing::lock; }
    bool showsIdle() const { return trailing == CompactIsland::Trailing::idle; }
    bool operator==(const CompactLayout &) const = default;
};

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
    double notchHeight = IslandMetrics::plainNotch.height();
};

using Layout = CompactLayout;

Layout layout(const Inputs &in);

} // namespace CompactIsland
