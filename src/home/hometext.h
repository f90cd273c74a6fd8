#pragma once

#include "home/homerules.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// HomeRules for the views, by the names the views use.
class HomeText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int badgeFontSize READ badgeFontSize CONSTANT)
    // The cards' and strip's own sizes, in points.
    Q_PROPERTY(int dotSize MEMBER m_dotSize CONSTANT)                 // a list row's bullet
    Q_PROPERTY(int statusDotSize MEMBER m_statusDotSize CONSTANT)     // the recording and online dots
    Q_PROPERTY(int listSpacing MEMBER m_listSpacing CONSTANT)
    Q_PROPERTY(int chromeCellSize MEMBER m_chromeCellSize CONSTANT)
    Q_PROPERTY(int badgeOffset MEMBER m_badgeOffset CONSTANT)         // how far a count badge rises
    Q_PROPERTY(int removeOffset MEMBER m_removeOffset CONSTANT)       // where a remove badge sits, both ways
    Q_PROPERTY(int chromeRemoveSize MEMBER m_chromeRemoveSize CONSTANT)
    Q_PROPERTY(int chromeRemoveGlyph MEMBER m_chromeRemoveGlyph CONSTANT)
    Q_PROPERTY(int tileRemoveSize MEMBER m_tileRemoveSize CONSTANT)
    Q_PROPERTY(int tileRemoveFill MEMBER m_tileRemoveFill CONSTANT)
    Q_PROPERTY(int tileRemoveGlyph MEMBER m_tileRemoveGlyph CONSTANT)
    Q_PROPERTY(int tileRemoveSlop MEMBER m_tileRemoveSlop CONSTANT)   // the badge's hit area beyond its edge
    Q_PROPERTY(int timerButtonSize MEMBER m_timerButtonSize CONSTANT)
    Q_PROPERTY(int clockGap MEMBER m_clockGap CONSTANT)               // between two clocks, the rule in its middle
    Q_PROPERTY(int clockHeight MEMBER m_clockHeight CONSTANT)
    Q_PROPERTY(int clockMeridiemGap MEMBER m_clockMeridiemGap CONSTANT)
    Q_PROPERTY(int micBarHeight MEMBER m_micBarHeight CONSTANT)
    Q_PROPERTY(int speedBarHeight MEMBER m_speedBarHeight CONSTANT)
    Q_PROPERTY(int chevronSize MEMBER m_chevronSize CONSTANT)
    Q_PROPERTY(int headerSpacerMinimum MEMBER m_headerSpacerMinimum CONSTANT) // between the clock and the groups
public:
    using QObject::QObject;

    Q_INVOKABLE static bool presetSelected(double presetSeconds, int minutes)
    {
        return HomeRules::presetSelected(presetSeconds, minutes);
    }
    Q_INVOKABLE static bool showsMeridiem(bool use24Hour, bool showMeridiem)
    {
        return HomeRules::showsMeridiem(use24Hour, showMeridiem);
    }
    Q_INVOKABLE static QColor cityColor(int index) { return HomeRules::cityColor(index); }
    Q_INVOKABLE static int maxClocks() { return HomeRules::MaxClocks; }
    Q_INVOKABLE static QString degrees(int value) { return HomeRules::degrees(value); }
    Q_INVOKABLE static QString highLowText(int high, int low) { return HomeRules::highLowText(high, low); }
    Q_INVOKABLE static QString sunText(const QString &rise, const QString &set) { return HomeRules::sunText(rise, set); }
    // How many meters the options keep, and the one at index of a snapshot.
    Q_INVOKABLE static int systemMeterCount(bool cpu, bool memory, bool disk, bool uptime);
    Q_INVOKABLE static SystemMeter systemMeter(const QVariant &snapshot, bool cpu, bool memory, bool disk, bool uptime,
                                               int index);
    Q_INVOKABLE static QList<QuickAction> quickActions();
    // The cities of the world-clock row (the settings' clocks), at most maxClocks().
    Q_INVOKABLE static QList<ClockCity> shownClocks(const QVariantList &clocks);
    // The events the calendar card lists, at most two.
    Q_INVOKABLE static QList<NextEvent> firstEvents(const QList<NextEvent> &events) { return events.mid(0, 2); }
    // The point size of the chrome strip's count badge.
    int badgeFontSize() const { return 8; }

private:
    int m_dotSize = 6, m_statusDotSize = 7, m_listSpacing = 5, m_chromeCellSize = 22, m_badgeOffset = 4,
        m_removeOffset = 7, m_chromeRemoveSize = 13, m_chromeRemoveGlyph = 11, m_tileRemoveSize = 18,
        m_tileRemoveFill = 12, m_tileRemoveGlyph = 15, m_tileRemoveSlop = 3, m_timerButtonSize = 22, m_clockGap = 17,
        m_clockHeight = 28, m_clockMeridiemGap = 3, m_micBarHeight = 8, m_speedBarHeight = 4, m_chevronSize = 8,
        m_headerSpacerMinimum = 8;

public:
    Q_INVOKABLE static QString eyeStrainStatus(bool warning, bool tooClose, int minutes)
    {
        return HomeRules::eyeStrainStatus(warning, tooClose, minutes);
    }
    Q_INVOKABLE static bool eyeStrainAlert(bool warning, bool tooClose) { return HomeRules::eyeStrainAlert(warning, tooClose); }
    Q_INVOKABLE static QString shortTime(const QDateTime &time);

    Q_INVOKABLE static QString pingText(const QVariant &ms);
    Q_INVOKABLE static QString rateText(const QVariant &mbps);
    Q_INVOKABLE static QString speedStatus(int phase, const QString &failure);
    Q_INVOKABLE static QString speedButton(int phase);
    Q_INVOKABLE static double micLevelWidth(double level, double width) { return std::max(4.0, double(level) * width); }
};
