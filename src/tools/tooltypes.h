#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The tools' plain enumerations, reachable from QML as Tools.<case>.
namespace Tools {
Q_NAMESPACE
QML_NAMED_ELEMENT(Tools)

enum class CalcOp { add, sub, mul, div };
Q_ENUM_NS(CalcOp)

enum class CalcKeyKind { digit, op, dot, equals, ac, sign, percent, fraction, backspace };
Q_ENUM_NS(CalcKeyKind)

enum class SpeedTestPhase { failed, idle, running, done };
Q_ENUM_NS(SpeedTestPhase)

enum class MediaKind { youtube, spotify };
Q_ENUM_NS(MediaKind)

enum class MediaSaveFormat { mp4, mp3, mov };
Q_ENUM_NS(MediaSaveFormat)
} // namespace Tools

// What the calculator's readout shows, as CalcReadoutKind.<case> in QML (its
// "fraction" would clash with the fraction key's in Tools).
namespace CalcReadoutKinds {
Q_NAMESPACE
QML_NAMED_ELEMENT(CalcReadoutKind)

enum class ReadoutKind { digits, fraction, error };
Q_ENUM_NS(ReadoutKind)
} // namespace CalcReadoutKinds
