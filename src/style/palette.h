#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// Every colour the program draws with, each under one name. Views reach
// them through the QML singleton IslandPalette (IslandPalette.qml), which is
// this type plus the custom-accent resolver; C++ uses the static colours.
// White and black at an opacity a view needs are named by that opacity
// (white35 is white at 35 %).
class Palette : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(PaletteColors)

    // Text and fills: white at fixed opacities.
    Q_PROPERTY(QColor textPrimary MEMBER m_textPrimary CONSTANT)     // 92 %
    Q_PROPERTY(QColor textSecondary MEMBER m_textSecondary CONSTANT) // 58 %
    Q_PROPERTY(QColor textTertiary MEMBER m_textTertiary CONSTANT)   // 38 %
    Q_PROPERTY(QColor fill MEMBER m_fill CONSTANT)                   // 8 %, also hairlines
    Q_PROPERTY(QColor fillStrong MEMBER m_fillStrong CONSTANT)       // 14 %
    // Opaque colours.
    Q_PROPERTY(QColor green MEMBER m_green CONSTANT)
    Q_PROPERTY(QColor pink MEMBER m_pink CONSTANT)
    Q_PROPERTY(QColor red MEMBER m_red CONSTANT)
    Q_PROPERTY(QColor amber MEMBER m_amber CONSTANT)
    Q_PROPERTY(QColor sky MEMBER m_sky CONSTANT)
    Q_PROPERTY(QColor mint MEMBER m_mint CONSTANT)
    Q_PROPERTY(QColor coral MEMBER m_coral CONSTANT)
    Q_PROPERTY(QColor yellow MEMBER m_yellow CONSTANT)
    Q_PROPERTY(QColor blue MEMBER m_blue CONSTANT)
    Q_PROPERTY(QColor orange MEMBER m_orange CONSTANT)
    // The remove badge of edit mode; never through the custom accent.
    Q_PROPERTY(QColor removeRed MEMBER m_removeRed CONSTANT)
    // Text on an accent fill: black at 86 %.
    Q_PROPERTY(QColor onAccent MEMBER m_onAccent CONSTANT)
    // Plain black and white, nothing at all, the editor's outline, the
    // floating island's shadow and the settings window's background.
    Q_PROPERTY(QColor black MEMBER m_black CONSTANT)
    Q_PROPERTY(QColor white MEMBER m_white CONSTANT)
    Q_PROPERTY(QColor clear MEMBER m_clear CONSTANT)
    Q_PROPERTY(QColor editOutline MEMBER m_editOutline CONSTANT)
    Q_PROPERTY(QColor shadow MEMBER m_shadow CONSTANT)
    Q_PROPERTY(QColor windowBackground MEMBER m_windowBackground CONSTANT)
    // The games' screens: white and black at the opacities they draw with.
    Q_PROPERTY(QColor white04 MEMBER m_white04 CONSTANT)
    Q_PROPERTY(QColor white05 MEMBER m_white05 CONSTANT)
    Q_PROPERTY(QColor white06 MEMBER m_white06 CONSTANT)
    Q_PROPERTY(QColor white10 MEMBER m_white10 CONSTANT)
    Q_PROPERTY(QColor white12 MEMBER m_white12 CONSTANT)
    Q_PROPERTY(QColor white22 MEMBER m_white22 CONSTANT)
    Q_PROPERTY(QColor white35 MEMBER m_white35 CONSTANT)
    Q_PROPERTY(QColor white70 MEMBER m_white70 CONSTANT)
    Q_PROPERTY(QColor white80 MEMBER m_white80 CONSTANT)
    Q_PROPERTY(QColor white82 MEMBER m_white82 CONSTANT)
    Q_PROPERTY(QColor white90 MEMBER m_white90 CONSTANT)
    Q_PROPERTY(QColor white94 MEMBER m_white94 CONSTANT)
    Q_PROPERTY(QColor black28 MEMBER m_black28 CONSTANT)   // an empty board cell
    Q_PROPERTY(QColor black35 MEMBER m_black35 CONSTANT)   // a tile's shadow
    Q_PROPERTY(QColor black38 MEMBER m_black38 CONSTANT)   // an empty disc
    Q_PROPERTY(QColor black55 MEMBER m_black55 CONSTANT)
    Q_PROPERTY(QColor black62 MEMBER m_black62 CONSTANT)   // overlay cards
    Q_PROPERTY(QColor black82 MEMBER m_black82 CONSTANT)   // black suits

public:
    explicit Palette(QObject *parent = nullptr);

    static const QColor textPrimaryColor, textSecondaryColor, textTertiaryColor, fillColor, fillStrongColor,
        greenColor, pinkColor, redColor, amberColor, skyColor, mintColor, coralColor, yellowColor, blueColor,
        orangeColor, blackColor, whiteColor, clearColor, editOutlineColor, shadowColor, removeRedColor,
        onAccentColor, windowBackgroundColor;
    // The word game's marks: correct, present, absent.
    static const QColor markCorrectColor, markPresentColor, markAbsentColor;
    // A colour's channels (0...1) as the settings store keeps them.
    struct Channels {
        double r, g, b;
    };
    static constexpr Channels skyChannels{0.47, 0.80, 0.98};
    // The custom accent until the user picks one: the sky colour.
    static constexpr Channels defaultAccent = skyChannels;

    // White or black at an opacity (0...1) that a view rule works out.
    static QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
    static QColor black(double opacity) { return QColor::fromRgbF(0, 0, 0, float(opacity)); }
    // from carried weight (0...1) of the way to to, every channel alike.
    static QColor mix(const QColor &from, const QColor &to, double weight);

    // The custom accent shown weight of the way over color; the resolver
    // in IslandPalette.qml passes what the engine's Accent shows.
    Q_INVOKABLE QColor over(const QColor &color, const QColor &accent, double weight) const
    {
        return mix(color, accent, weight);
    }
    // color with its opacity set to opacity (0...1).
    Q_INVOKABLE QColor faded(const QColor &color, double opacity) const;

private:
    QColor m_textPrimary = textPrimaryColor, m_textSecondary = textSecondaryColor,
           m_textTertiary = textTertiaryColor, m_fill = fillColor, m_fillStrong = fillStrongColor,
           m_green = greenColor, m_pink = pinkColor, m_red = redColor, m_amber = amberColor, m_sky = skyColor,
           m_mint = mintColor, m_coral = coralColor, m_yellow = yellowColor, m_blue = blueColor,
           m_orange = orangeColor, m_black = blackColor, m_white = whiteColor, m_clear = clearColor,
           m_editOutline = editOutlineColor, m_shadow = shadowColor, m_removeRed = removeRedColor,
           m_onAccent = onAccentColor, m_windowBackground = windowBackgroundColor;
    QColor m_white04 = white(0.04), m_white05 = white(0.05), m_white06 = white(0.06), m_white10 = white(0.10),
           m_white12 = white(0.12), m_white22 = white(0.22), m_white35 = white(0.35), m_white70 = white(0.70),
           m_white80 = white(0.80), m_white82 = white(0.82), m_white90 = white(0.90), m_white94 = white(0.94);
    QColor m_black28 = black(0.28), m_black35 = black(0.35), m_black38 = black(0.38), m_black55 = black(0.55),
           m_black62 = black(0.62), m_black82 = black(0.82);
};
