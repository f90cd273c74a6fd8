#pragma once

#include "island/compactisland.h"
#include "island/hovercontent.h"

#include <QDateTime>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// The island views' rules for QML: each call hands back what the C++ rule
// decides, so the QML files only lay out and animate.
class IslandViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_MOC_INCLUDE("store/appsettings.h")
public:
    using QObject::QObject;

    Q_INVOKABLE double cornerRadius(int state, bool floating, double lipCornerRadius) const;
    Q_INVOKABLE double contentTopInset(int state, bool floating, double notchHeight) const;
    Q_INVOKABLE double horizontalInset(int state) const;
    Q_INVOKABLE double bottomInset(int state) const;
    Q_INVOKABLE QString contentView(int state) const;
    Q_INVOKABLE bool showsHudOverlay(int state, bool hudPresent) const;
    Q_INVOKABLE double hudOverlayTop(bool floating, double notchHeight) const;
    // {kind: "none" | "timer" | "ambient", ambientKind}
    Q_INVOKABLE QVariantMap glow(bool timerRunning, bool previewingTimer, bool ambientPresent,
                                 bool previewingAmbient, int showsAmbientOrCamera) const;
    Q_INVOKABLE bool showsDropHint(bool targeted, bool pocketHidden, int state) const;
    Q_INVOKABLE double playingBarHeight(double frameHeight, double t, int index) const;

    // QML SpringAnimation parameters for a spring of this response (seconds)
    // and damping fraction: {spring, damping}.
    Q_INVOKABLE QVariantMap spring(double response, double dampingFraction) const;

    Q_INVOKABLE double referenceSeconds(const QDateTime &date) const;
    Q_INVOKABLE QVariantMap clockAngles(double t) const;
    Q_INVOKABLE QVariantMap clockMetrics(double size) const;
    // {indicator: "none" | "clock" | "bars" | "smile", width, height}
    Q_INVOKABLE QVariantMap collapsedIdle(bool playing, bool showVisualizer, bool showSmile,
                                          bool timerRunning) const;
    Q_INVOKABLE double smileScale(double t) const;
    Q_INVOKABLE int clockFrameInterval(double size) const;
    Q_INVOKABLE int smileFrameInterval() const;
    Q_INVOKABLE double smileEyeHeight(bool blinking) const;
    // {colorName, halo, line}: the rim's colour and the two strokes' opacities.
    Q_INVOKABLE QVariantMap rim(int kind, double t) const;
    Q_INVOKABLE QVariantMap mascotMetrics(double size, bool blink, double legs) const;
    Q_INVOKABLE bool mascotSways(double tilt, double legs) const;
    Q_INVOKABLE QVariantMap mascotSway(bool active, double t) const;

    Q_INVOKABLE QVariantMap sourceStyle(int source) const;
    // {symbol, colorName, level}
    Q_INVOKABLE QVariantMap hudLook(int kind, double value, bool muted) const;
    Q_INVOKABLE double hudFillWidth(double trackWidth, double level) const;
    Q_INVOKABLE QVariantMap mirrorLabel(bool faceTooClose, bool eyeStrainGuard, bool denied) const;

    Q_INVOKABLE QString editCaption(int phase) const;
    Q_INVOKABLE double ringRadius(int phase, double screenWidth) const;
    Q_INVOKABLE double arcAngle(int index, int count) const;
    Q_INVOKABLE QPointF arcPosition(const QPointF &center, double radius, int index, int count) const;
    Q_INVOKABLE double arcRotation(int index, int count) const;
    Q_INVOKABLE int displayedValue(double value) const;
    Q_INVOKABLE void resetNotch(AppSettings *settings) const;
    Q_INVOKABLE void resetExpanded(AppSettings *settings) const;
};

// The hover island's mark, title and trailing accessory. QML binds the view
// model's values to the inputs; the outputs follow.
class HoverRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // Inputs, as the view model publishes them (optional records may be null).
    Q_PROPERTY(QVariant ambient MEMBER m_ambient NOTIFY changed)
    Q_PROPERTY(QVariant liveActivity MEMBER m_liveActivity NOTIFY changed)
    Q_PROPERTY(QVariant nowPlaying MEMBER m_nowPlaying NOTIFY changed)
    Q_PROPERTY(QVariant nextAssignment MEMBER m_nextAssignment NOTIFY changed)
    Q_PROPERTY(QVariant upcomingEvents MEMBER m_upcomingEvents NOTIFY changed)
    Q_PROPERTY(QVariant weather MEMBER m_weather NOTIFY changed)
    Q_PROPERTY(bool showClock MEMBER m_showClock NOTIFY changed)
    Q_PROPERTY(QString clockText MEMBER m_clockText NOTIFY changed)
    Q_PROPERTY(bool playerHidden MEMBER m_playerHidden NOTIFY changed)
    Q_PROPERTY(bool showVisualizer MEMBER m_showVisualizer NOTIFY changed)
    Q_PROPERTY(bool weatherHidden MEMBER m_weatherHidden NOTIFY changed)
    Q_PROPERTY(bool wantLocation MEMBER m_wantLocation NOTIFY changed)
    Q_PROPERTY(bool locationGranted MEMBER m_locationGranted NOTIFY changed)
    Q_PROPERTY(QDateTime now MEMBER m_now NOTIFY changed)
    // Outputs.
    Q_PROPERTY(QString markKind READ markKind NOTIFY changed)
    Q_PROPERTY(QString markSymbol READ markSymbol NOTIFY changed)
    Q_PROPERTY(QString markColorName READ markColorName NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString accessoryKind READ accessoryKind NOTIFY changed)
    Q_PROPERTY(QString accessoryText READ accessoryText NOTIFY changed)
    Q_PROPERTY(QString accessoryColorName READ accessoryColorName NOTIFY changed)
    Q_PROPERTY(QUrl joinURL READ joinURL NOTIFY changed)
    // The event "Join" opens, as the view model's record; null without one.
    Q_PROPERTY(QVariant joinEvent READ joinEvent NOTIFY changed)
public:
    explicit HoverRules(QObject *parent = nullptr);

    HoverContent::Inputs inputs() const;
    QString markKind() const;
    QString markSymbol() const { return HoverContent::mark(inputs()).symbol; }
    QString markColorName() const { return HoverContent::mark(inputs()).colorName; }
    QString title() const;
    QString accessoryKind() const;
    QString accessoryText() const { return HoverContent::accessory(inputs()).text; }
    QString accessoryColorName() const { return HoverContent::accessory(inputs()).colorName; }
    QUrl joinURL() const { return HoverContent::accessory(inputs()).joinURL; }
    QVariant joinEvent() const;

signals:
    void changed();

private:
    QVariant m_ambient;
    QVariant m_liveActivity;
    QVariant m_nowPlaying;
    QVariant m_nextAssignment;
    QVariant m_upcomingEvents;
    QVariant m_weather;
    bool m_showClock = false;
    QString m_clockText;
    bool m_playerHidden = false;
    bool m_showVisualizer = false;
    bool m_weatherHidden = false;
    bool m_wantLocation = true;
    bool m_locationGranted = false;
    QDateTime m_now;
};

// The compact island's flags and paddings.
class CompactRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant nowPlaying MEMBER m_nowPlaying NOTIFY changed)
    Q_PROPERTY(bool timerRunning MEMBER m_timerRunning NOTIFY changed)
    Q_PROPERTY(bool previewingPlayer MEMBER m_previewingPlayer NOTIFY changed)
    Q_PROPERTY(bool previewingTimer MEMBER m_previewingTimer NOTIFY changed)
    Q_PROPERTY(bool previewingAmbient MEMBER m_previewingAmbient NOTIFY changed)
    Q_PROPERTY(bool showAmbientSmile MEMBER m_showAmbientSmile NOTIFY changed)
    Q_PROPERTY(bool playerHidden MEMBER m_playerHidden NOTIFY changed)
    Q_PROPERTY(bool showVisualizer MEMBER m_showVisualizer NOTIFY changed)
    Q_PROPERTY(bool gameModeHidden MEMBER m_gameModeHidden NOTIFY changed)
    Q_PROPERTY(bool gameModeOn MEMBER m_gameModeOn NOTIFY changed)
    Q_PROPERTY(bool gameModeHover MEMBER m_gameModeHover NOTIFY changed)
    Q_PROPERTY(bool gameModeToast MEMBER m_gameModeToast NOTIFY changed)
    Q_PROPERTY(bool floating MEMBER m_floating NOTIFY changed)
    Q_PROPERTY(double notchHeight MEMBER m_notchHeight NOTIFY changed)

    Q_PROPERTY(bool showsArtwork READ showsArtwork NOTIFY changed)
    Q_PROPERTY(bool showsBars READ showsBars NOTIFY changed)
    Q_PROPERTY(bool showsTimer READ showsTimer NOTIFY changed)
    Q_PROPERTY(bool showsToast READ showsToast NOTIFY changed)
    Q_PROPERTY(bool showSmile READ showSmile NOTIFY changed)
    Q_PROPERTY(QString trailing READ trailing NOTIFY changed)
    Q_PROPERTY(QString barsColorName READ barsColorName NOTIFY changed)
    Q_PROPERTY(QString artworkColorName READ artworkColorName NOTIFY changed)
    Q_PROPERTY(QString artworkSymbol READ artworkSymbol NOTIFY changed)
    Q_PROPERTY(double leadingPad READ leadingPad NOTIFY changed)
    Q_PROPERTY(double trailingPad READ trailingPad NOTIFY changed)
    Q_PROPERTY(double rowTop READ rowTop NOTIFY changed)
    Q_PROPERTY(double toastTop READ toastTop NOTIFY changed)
public:
    using QObject::QObject;

    CompactIsland::Layout layout() const;
    bool showsArtwork() const { return layout().showsArtwork; }
    bool showsBars() const { return layout().showsBars; }
    bool showsTimer() const { return layout().showsTimer; }
    bool showsToast() const { return layout().showsToast; }
    bool showSmile() const { return layout().showSmile; }
    QString trailing() const;
    QString barsColorName() const { return layout().barsColorName; }
    QString artworkColorName() const { return layout().artworkColorName; }
    QString artworkSymbol() const { return layout().artworkSymbol; }
    double leadingPad() const { return layout().leadingPad; }
    double trailingPad() const { return layout().trailingPad; }
    double rowTop() const { return layout().rowTop; }
    double toastTop() const { return layout().toastTop; }

signals:
    void changed();

private:
    QVariant m_nowPlaying;
    bool m_timerRunning = false;
    bool m_previewingPlayer = false;
    bool m_previewingTimer = false;
    bool m_previewingAmbient = false;
    bool m_showAmbientSmile = false;
    bool m_playerHidden = false;
    bool m_showVisualizer = false;
    bool m_gameModeHidden = false;
    bool m_gameModeOn = false;
    bool m_gameModeHover = false;
    bool m_gameModeToast = false;
    bool m_floating = false;
    double m_notchHeight = 32;
};
