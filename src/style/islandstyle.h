#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// A spring as the island's animations name it: a response (seconds), a
// damping fraction and a blend time, with the matching parameters of QML's
// SpringAnimation.
struct SpringSpec {
    Q_GADGET
    QML_VALUE_TYPE(springSpec)
    Q_PROPERTY(double response MEMBER response CONSTANT)
    Q_PROPERTY(double dampingFraction MEMBER dampingFraction CONSTANT)
    Q_PROPERTY(double blend MEMBER blend CONSTANT)
    // SpringAnimation's "spring" and "damping" for the same motion.
    Q_PROPERTY(double spring MEMBER spring CONSTANT)
    Q_PROPERTY(double damping MEMBER damping CONSTANT)
public:
    double response = 0.36;
    double dampingFraction = 0.84;
    double blend = 0;
    double spring = 0;
    double damping = 0;

    static SpringSpec make(double response, double dampingFraction, double blend = 0);
    bool operator==(const SpringSpec &) const = default;
};

// The island's type scale, spacings, radii, stroke widths, fonts and named
// springs. Views reach it as the QML singleton IslandStyle and never write
// these numbers themselves; a size that belongs to one view only comes from
// that view's own rules in C++.
class IslandStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // Type scale, in points (the island draws one point as one pixel).
    Q_PROPERTY(int fontMicro MEMBER m_fontMicro CONSTANT)       // 9
    Q_PROPERTY(int fontCaption MEMBER m_fontCaption CONSTANT)   // 10
    Q_PROPERTY(int fontFootnote MEMBER m_fontFootnote CONSTANT) // 11
    Q_PROPERTY(int fontBody MEMBER m_fontBody CONSTANT)         // 12
    Q_PROPERTY(int fontCallout MEMBER m_fontCallout CONSTANT)   // 13
    Q_PROPERTY(int fontSubhead MEMBER m_fontSubhead CONSTANT)   // 14
    Q_PROPERTY(int fontHeadline MEMBER m_fontHeadline CONSTANT) // 15
    Q_PROPERTY(int fontTitle3 MEMBER m_fontTitle3 CONSTANT)     // 16
    Q_PROPERTY(int fontTitle2 MEMBER m_fontTitle2 CONSTANT)     // 18
    Q_PROPERTY(int fontTitle MEMBER m_fontTitle CONSTANT)       // 20
    Q_PROPERTY(int fontLarge MEMBER m_fontLarge CONSTANT)       // 22
    Q_PROPERTY(int fontHuge MEMBER m_fontHuge CONSTANT)         // 28
    Q_PROPERTY(int fontDisplay MEMBER m_fontDisplay CONSTANT)   // 34
    Q_PROPERTY(int fontHero MEMBER m_fontHero CONSTANT)         // 36
    // Font families: the rounded face, and a face whose digits all have one
    // width (for counters and times that must not jitter).
    Q_PROPERTY(QString roundedFamily MEMBER m_roundedFamily CONSTANT)
    Q_PROPERTY(QString digitsFamily MEMBER m_digitsFamily CONSTANT)
    // A face whose every glyph has one width.
    Q_PROPERTY(QString monoFamily MEMBER m_monoFamily CONSTANT)

    // Spacings.
    Q_PROPERTY(int spacingHair MEMBER m_spacingHair CONSTANT)   // 2
    Q_PROPERTY(int spacingTiny MEMBER m_spacingTiny CONSTANT)   // 4
    Q_PROPERTY(int spacingSmall MEMBER m_spacingSmall CONSTANT) // 6
    Q_PROPERTY(int spacing MEMBER m_spacing CONSTANT)           // 8
    Q_PROPERTY(int spacingMedium MEMBER m_spacingMedium CONSTANT) // 10
    Q_PROPERTY(int spacingLarge MEMBER m_spacingLarge CONSTANT) // 12
    Q_PROPERTY(int spacingXLarge MEMBER m_spacingXLarge CONSTANT) // 16
    Q_PROPERTY(int spacingHuge MEMBER m_spacingHuge CONSTANT)   // 18

    // Corner radii.
    Q_PROPERTY(int radiusTiny MEMBER m_radiusTiny CONSTANT)     // 4
    Q_PROPERTY(int radiusSmall MEMBER m_radiusSmall CONSTANT)   // 6
    Q_PROPERTY(int radiusMedium MEMBER m_radiusMedium CONSTANT) // 8
    Q_PROPERTY(int radius MEMBER m_radius CONSTANT)             // 10
    Q_PROPERTY(int radiusCard MEMBER m_radiusCard CONSTANT)     // 12
    Q_PROPERTY(int radiusLarge MEMBER m_radiusLarge CONSTANT)   // 14
    Q_PROPERTY(int radiusPanel MEMBER m_radiusPanel CONSTANT)   // 16

    // Stroke widths.
    Q_PROPERTY(double strokeHair MEMBER m_strokeHair CONSTANT)  // 1
    Q_PROPERTY(double strokeThin MEMBER m_strokeThin CONSTANT)  // 1.5
    Q_PROPERTY(double stroke MEMBER m_stroke CONSTANT)          // 2
    Q_PROPERTY(double strokeBold MEMBER m_strokeBold CONSTANT)  // 2.4

    // Opacity of a control that cannot be used now.
    Q_PROPERTY(double disabledOpacity MEMBER m_disabledOpacity CONSTANT) // 0.35

    // The named springs.
    Q_PROPERTY(SpringSpec stateSpring MEMBER m_stateSpring CONSTANT) // 0.36 / 0.84, blend 0.1
    Q_PROPERTY(SpringSpec quickSpring MEMBER m_quickSpring CONSTANT) // 0.26 / 0.78
    Q_PROPERTY(SpringSpec pressSpring MEMBER m_pressSpring CONSTANT) // 0.2 / 0.68
    Q_PROPERTY(SpringSpec gamePageSpring MEMBER m_gamePageSpring CONSTANT) // 0.32 / 0.88
    Q_PROPERTY(SpringSpec listSpring MEMBER m_listSpring CONSTANT) // 0.36 / 0.84, blend 0.1
    Q_PROPERTY(SpringSpec memoListSpring MEMBER m_memoListSpring CONSTANT) // 0.32 / 0.88

public:
    explicit IslandStyle(QObject *parent = nullptr);

    // A spring that is not one of the named ones, for the few views whose
    // own motion is given as a response and damping fraction.
    Q_INVOKABLE SpringSpec spring(double response, double dampingFraction, double blend = 0) const
    {
        return SpringSpec::make(response, dampingFraction, blend);
    }

    static const SpringSpec state, quick, press, gamePage, list, memoList;

private:
    int m_fontMicro = 9, m_fontCaption = 10, m_fontFootnote = 11, m_fontBody = 12, m_fontCallout = 13,
        m_fontSubhead = 14, m_fontHeadline = 15, m_fontTitle3 = 16, m_fontTitle2 = 18, m_fontTitle = 20,
        m_fontLarge = 22, m_fontHuge = 28, m_fontDisplay = 34, m_fontHero = 36;
    QString m_roundedFamily;
    QString m_digitsFamily;
    QString m_monoFamily;
    int m_spacingHair = 2, m_spacingTiny = 4, m_spacingSmall = 6, m_spacing = 8, m_spacingMedium = 10,
        m_spacingLarge = 12, m_spacingXLarge = 16, m_spacingHuge = 18;
    int m_radiusTiny = 4, m_radiusSmall = 6, m_radiusMedium = 8, m_radius = 10, m_radiusCard = 12,
        m_radiusLarge = 14, m_radiusPanel = 16;
    double m_strokeHair = 1, m_strokeThin = 1.5, m_stroke = 2, m_strokeBold = 2.4;
    double m_disabledOpacity = 0.35;
    SpringSpec m_stateSpring = state, m_quickSpring = quick, m_pressSpring = press, m_gamePageSpring = gamePage,
               m_listSpring = list, m_memoListSpring = memoList;
};
