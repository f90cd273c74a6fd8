#pragma once

// The order of src/'s folders, lowest first, shared by the checks that C++
// includes and QML type uses point down.

#include <QList>
#include <QString>
#include <QStringList>

namespace layers {

// The layers, lowest first. A folder may use its own group and every
// folder of a lower row, never one of its own row or above. Subfolders
// belong to their folder unless listed. "" is src/ itself (main.cpp).
extern const QList<QList<QStringList>> Layers;

struct Place {
    int row = -1;
    int group = -1;
    QString folder;
};

// The table entry holding a folder: the longest listed prefix.
Place placeOf(const QString &folder);
// The folder of a path below src/ ("" for a file directly in it).
QString folderOf(const QString &path);
// Why something in folder from may not use something in folder to, or empty
// when it may.
QString crossing(const QString &from, const QString &to);

} // namespace layers
