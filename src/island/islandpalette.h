#pragma once

#include "services/ambientpulse.h"

#include <QColor>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;
class UserDefaults;

// The island's colours, the custom-accent resolver and the symbol images.
// Views reach it as the QML singleton IslandPalette; C++ uses the static
// functions. The same colour goes by more than one name where the island's
// parts grew different words for it (ink = textPrimary, gold = yellow, ...).
class IslandPalette : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // White at fixed opacities.
    Q_PROPERTY(QColor textPrimary MEMBER m_textPrimary CONSTANT)
    Q_PROPERTY(QColor textSecondary MEMBER m_textSecondary CONSTANT)
    Q_PROPERTY(QColor textTertiary MEMBER m_textTertiary CONSTANT)
    Q_PROPERTY(QColor hairline MEMBER m_hairline CONSTANT)
    Q_PROPERTY(QColor fill MEMBER m_fill CONSTANT)
    Q_PROPERTY(QColor fillStrong MEMBER m_fillStrong CONSTANT)
    Q_PROPERTY(QColor ink MEMBER m_textPrimary CONSTANT)
    Q_PROPERTY(QColor inkDim MEMBER m_textSecondary CONSTANT)
    Q_PROPERTY(QColor inkFaint MEMBER m_textTertiary CONSTANT)
    Q_PROPERTY(QColor well MEMBER m_hairline CONSTANT)
    Q_PROPERTY(QColor cardFill MEMBER m_fill CONSTANT)
    Q_PROPERTY(QColor chipFill MEMBER m_fillStrong CONSTANT)
    // Opaque colours.
    Q_PROPERTY(QColor green MEMBER m_green CONSTANT)
    Q_PROPERTY(QColor pink MEMBER m_pink CONSTANT)
    Q_PROPERTY(QColor red MEMBER m_red CONSTANT)
    Q_PROPERTY(QColor amber MEMBER m_amber CONSTANT)
    Q_PROPERTY(QColor sky MEMBER m_sky CONSTANT)
    Q_PROPERTY(QColor mint MEMBER m_mint CONSTANT)
    Q_PROPERTY(QColor teal MEMBER m_mint CONSTANT)
    Q_PROPERTY(QColor coral MEMBER m_coral CONSTANT)
    Q_PROPERTY(QColor yellow MEMBER m_yellow CONSTANT)
    Q_PROPERTY(QColor gold MEMBER m_yellow CONSTANT)
    Q_PROPERTY(QColor blue MEMBER m_blue CONSTANT)
    Q_PROPERTY(QColor orange MEMBER m_orange CONSTANT)
    // The remove badge of edit mode; never through the custom accent.
    Q_PROPERTY(QColor removeRed MEMBER m_removeRed CONSTANT)
    // Text on an accent fill: black at 86 %.
    Q_PROPERTY(QColor onAccent MEMBER m_onAccent CONSTANT)
    // Plain black and white, nothing at all, the editor's outline and the
    // floating island's shadow.
    Q_PROPERTY(QColor black MEMBER m_black CONSTANT)
    Q_PROPERTY(QColor white MEMBER m_white CONSTANT)
    Q_PROPERTY(QColor clear MEMBER m_clear CONSTANT)
    Q_PROPERTY(QColor editOutline MEMBER m_editOutline CONSTANT)
    Q_PROPERTY(QColor shadow MEMBER m_shadow CONSTANT)
    Q_PROPERTY(QColor windowBackground MEMBER m_windowBackground CONSTANT)
    // Bumped whenever a custom-accent setting changes. Bindings pass it to
    // accent() so that they are evaluated again; nothing is cached.
    Q_PROPERTY(int accentRevision READ accentRevision NOTIFY accentRevisionChanged)

public:
    explicit IslandPalette(UserDefaults *defaults, QObject *parent = nullptr);

    // The QML engine's instance; the store comes from setDefaults() on the engine.
    static IslandPalette *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);
    // Gives every IslandPalette created for engine this store.
    static void setDefaults(QQmlEngine *engine, UserDefaults *defaults);

    static const QColor textPrimaryColor, textSecondaryColor, textTertiaryColor, hairlineColor,
        fillColor, fillStrongColor, greenColor, pinkColor, redColor, amberColor, skyColor,
        mintColor, coralColor, yellowColor, blueColor, orangeColor, blackColor, whiteColor, clearColor,
        editOutlineColor, shadowColor, removeRedColor, onAccentColor;

    // The custom accent when "useCustomAccent" is on, else color unchanged.
    static QColor accent(const UserDefaults *defaults, const QColor &color);
    // A number stored under key, else fallback.
    static double defaultsDouble(const UserDefaults *defaults, const QString &key, double fallback);
    // A pulse's colour, through accent().
    static QColor colorFor(const UserDefaults *defaults, AmbientKind kind);

    // revision: pass accentRevision so the binding follows the settings.
    Q_INVOKABLE QColor accent(const QColor &color, int revision = 0) const;
    Q_INVOKABLE QColor color(Ambient::AmbientKind kind, int revision = 0) const;
    // The image for a symbol name.
    Q_INVOKABLE QUrl symbol(const QString &name) const;
    // color with its opacity set to opacity (0...1).
    Q_INVOKABLE QColor faded(const QColor &color, double opacity) const;

    int accentRevision() const { return m_revision; }

signals:
    void accentRevisionChanged();

private:
    UserDefaults *m_defaults;
    int m_revision = 0;
    QColor m_textPrimary = textPrimaryColor, m_textSecondary = textSecondaryColor,
           m_textTertiary = textTertiaryColor, m_hairline = hairlineColor, m_fill = fillColor,
           m_fillStrong = fillStrongColor, m_green = greenColor, m_pink = pinkColor, m_red = redColor,
           m_amber = amberColor, m_sky = skyColor, m_mint = mintColor, m_coral = coralColor,
           m_yellow = yellowColor, m_blue = blueColor, m_orange = orangeColor, m_black = blackColor,
           m_white = whiteColor, m_clear = clearColor, m_editOutline = editOutlineColor, m_shadow = shadowColor,
           m_removeRed = removeRedColor;
    QColor m_onAccent = onAccentColor;
    QColor m_windowBackground = QColor::fromRgbF(0.12f, 0.12f, 0.13f);
};
