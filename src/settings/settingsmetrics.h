#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The settings window's own sizes, spacings, opacities and timings, for its
// views (reached as the QML singleton SettingsMetrics). Sizes shared with the
// island come from IslandStyle.
class SettingsMetrics : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

#define PAVLET_METRIC(Type, name, value) \
    Q_PROPERTY(Type name READ name CONSTANT) \
public: \
    static constexpr Type name##Value = value; \
    Type name() const { return value; } \
private:

    // Window and sidebar.
    PAVLET_METRIC(int, rootMinWidth, 720)
    PAVLET_METRIC(int, rootMinHeight, 460)
    PAVLET_METRIC(int, sidebarWidth, 188)
    PAVLET_METRIC(double, sidebarShade, 0.25)
    PAVLET_METRIC(int, sidebarHeaderTop, 18)
    PAVLET_METRIC(int, sidebarSymbolWidth, 18)
    PAVLET_METRIC(int, detailPadding, 28)
    PAVLET_METRIC(int, accentFadeMs, 150)
    // Pages.
    PAVLET_METRIC(int, pageSpacing, 22)
    PAVLET_METRIC(int, listPageSpacing, 18)
    PAVLET_METRIC(int, sectionSpacing, 16)
    PAVLET_METRIC(int, cardPadding, 14)
    PAVLET_METRIC(int, gestureColumn, 110)
    PAVLET_METRIC(int, launchTile, 36)
    PAVLET_METRIC(double, launchTileFill, 0.16)
    PAVLET_METRIC(double, launchOutline, 0.35)
    PAVLET_METRIC(int, cityFieldMaxWidth, 140)
    PAVLET_METRIC(double, buttonInk, 0.86)
    // Module cards.
    PAVLET_METRIC(int, moduleSymbolWidth, 22)
    PAVLET_METRIC(double, installingSymbolOpacity, 0.28)
    PAVLET_METRIC(double, spinnerTrimFrom, 0.08)
    PAVLET_METRIC(double, spinnerTrimTo, 0.78)
    PAVLET_METRIC(double, spinnerLineWidth, 1.7)
    PAVLET_METRIC(int, spinnerTurnMs, 680)
    PAVLET_METRIC(int, installingMinWidth, 78)
    PAVLET_METRIC(int, expandedIndent, 46)
    PAVLET_METRIC(int, expandMs, 180)
    // Permissions.
    PAVLET_METRIC(double, sheetShade, 0.82)
    PAVLET_METRIC(int, sheetInset, 36)
    PAVLET_METRIC(int, mascotSize, 54)
    PAVLET_METRIC(int, welcomeFont, 26)
    PAVLET_METRIC(int, introMaxWidth, 460)
    PAVLET_METRIC(int, boxMaxWidth, 520)
    PAVLET_METRIC(double, dimmedCardOpacity, 0.62)
    PAVLET_METRIC(double, badgeFill, 0.22)
    PAVLET_METRIC(double, pillFill, 0.16)
    // The accent colour dialog.
    PAVLET_METRIC(int, colourPlaneWidth, 220)
    PAVLET_METRIC(int, colourPlaneHeight, 150)
    PAVLET_METRIC(int, hueStripWidth, 18)
    PAVLET_METRIC(int, colourMarkSize, 12)

#undef PAVLET_METRIC

public:
    using QObject::QObject;
};
