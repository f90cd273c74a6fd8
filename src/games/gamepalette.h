#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The games' own colours beside the island's palette: black and white at the
// opacities the game screens draw with, and the word game's mark colours.
// None of them passes through the custom accent.
class GamePalette : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor black MEMBER m_black CONSTANT)
    Q_PROPERTY(QColor black28 MEMBER m_black28 CONSTANT)   // an empty board cell
    Q_PROPERTY(QColor black35 MEMBER m_black35 CONSTANT)   // a tile's shadow
    Q_PROPERTY(QColor black38 MEMBER m_black38 CONSTANT)   // an empty disc
    Q_PROPERTY(QColor black62 MEMBER m_black62 CONSTANT)   // overlay cards
    Q_PROPERTY(QColor black82 MEMBER m_black82 CONSTANT)   // black suits
    Q_PROPERTY(QColor black86 MEMBER m_black86 CONSTANT)   // text on the gold accent
    Q_PROPERTY(QColor white05 MEMBER m_white05 CONSTANT)
    Q_PROPERTY(QColor white10 MEMBER m_white10 CONSTANT)
    Q_PROPERTY(QColor white12 MEMBER m_white12 CONSTANT)
    Q_PROPERTY(QColor white22 MEMBER m_white22 CONSTANT)
    Q_PROPERTY(QColor white35 MEMBER m_white35 CONSTANT)
    Q_PROPERTY(QColor white82 MEMBER m_white82 CONSTANT)
    Q_PROPERTY(QColor white90 MEMBER m_white90 CONSTANT)
    Q_PROPERTY(QColor white94 MEMBER m_white94 CONSTANT)
    Q_PROPERTY(QColor markCorrect MEMBER m_correct CONSTANT)
    Q_PROPERTY(QColor markPresent MEMBER m_present CONSTANT)
    Q_PROPERTY(QColor markAbsent MEMBER m_absent CONSTANT)
public:
    using QObject::QObject;

    static QColor black(double opacity) { return QColor::fromRgbF(0, 0, 0, float(opacity)); }
    static QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
    // A word-game mark (correct, present, absent as 0, 1, 2).
    static QColor markColor(int mark);

    // The mark colour of a WordleMark value; transparent for anything else.
    Q_INVOKABLE QColor mark(int mark) const { return markColor(mark); }

private:
    QColor m_black = black(1), m_black28 = black(0.28), m_black35 = black(0.35), m_black38 = black(0.38),
           m_black62 = black(0.62), m_black82 = black(0.82), m_black86 = black(0.86);
    QColor m_white05 = white(0.05), m_white10 = white(0.10), m_white12 = white(0.12), m_white22 = white(0.22),
           m_white35 = white(0.35), m_white82 = white(0.82), m_white90 = white(0.90), m_white94 = white(0.94);
    QColor m_correct = markColor(0), m_present = markColor(1), m_absent = markColor(2);
};
