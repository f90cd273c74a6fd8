#include "layers.h"

namespace layers {

const QList<QList<QStringList>> Layers = {
    {{"core"}},                                  // clock, scheduler, defaults, key codes
    {{"style"}},                                 // palette, accent, style tokens, springs
    {{"look"}},                                  // symbols, buttons, shapes, the mascot, the animation clock
    {{"platform"}},                              // interfaces to the machine
    {{"platform/linux"}},                        // their Linux side (only the composition root names it)
    {{"services"}, {"media"}, {"tools"}, {"canvas"}, {"update"}, {"games", "games/action"}},
    {{"store"}},                                 // settings, permissions, clock cities, modules
    {{"island"}},                                // the island's model and views
    {{"home"}, {"settings"}},                    // the panels' and the settings window's views
    {{"notch"}},                                 // the island's windows
    {{"app"}},                                   // the shell and the composition root
    {{""}},                                      // main.cpp
};

Place placeOf(const QString &folder)
{
    Place best;
    for (int r = 0; r < Layers.size(); ++r) {
        for (int g = 0; g < Layers[r].size(); ++g) {
            for (const QString &entry : Layers[r][g]) {
                const bool holds = entry.isEmpty() ? folder.isEmpty()
                                                   : folder == entry || folder.startsWith(entry + '/');
                if (holds && (best.row < 0 || entry.size() > best.folder.size()))
                    best = {r, g, entry};
            }
        }
    }
    return best;
}

QString folderOf(const QString &path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QString() : path.left(slash);
}

QString crossing(const QString &fromFolder, const QString &toFolder)
{
    const Place from = placeOf(fromFolder);
    const Place to = placeOf(toFolder);
    if (from.row < 0)
        return QStringLiteral("folder \"%1\" is in no layer of the table").arg(fromFolder);
    if (to.row < 0)
        return QStringLiteral("folder \"%1\" is in no layer of the table").arg(toFolder);
    if (to.row < from.row || (to.row == from.row && to.group == from.group))
        return {};
    return QStringLiteral("%1 sits below %2").arg(from.folder.isEmpty() ? "src/" : from.folder,
                                                  to.folder.isEmpty() ? "src/" : to.folder);
}

} // namespace layers
