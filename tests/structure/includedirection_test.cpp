// Folders of src/ include only folders below them. A header is named by its
// path below src/ ("core/clock.h"), so the folder of every include is known
// from its text alone.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The layers, lowest first. A folder may include its own group and every
// folder of a lower row, never one of its own row or above. Subfolders
// belong to their folder unless listed. "" is src/ itself (main.cpp).
const QList<QList<QStringList>> Layers = {
    {{"core"}},                                  // clock, scheduler, defaults, key codes
    {{"style"}},                                 // palette, accent, style tokens, springs
    {{"platform"}},                              // interfaces to the machine
    {{"platform/linux"}},                        // their Linux side (see LinuxIncluders)
    {{"services"}, {"media"}, {"tools"}, {"canvas"}, {"update"}, {"games", "games/action"}},
    {{"store"}},                                 // settings, permissions, clock cities, modules
    {{"island"}},                                // the island's model and views
    {{"home"}, {"settings"}},                    // the panels' and the settings window's views
    {{"notch"}},                                 // the island's windows
    {{"app"}},                                   // the shell and the composition root
    {{""}},                                      // main.cpp
};

// Outside its own folder, only these files may name a Linux backend.
const QStringList LinuxIncluders = {"app/compositionroot.h", "app/compositionroot.cpp"};

struct Place {
    int row = -1;
    int group = -1;
    QString folder;
};

// The table entry holding a folder: the longest listed prefix.
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

// Why file (a path below src/) may not include header, or empty when it may.
QString violation(const QString &file, const QString &header)
{
    const Place from = placeOf(folderOf(file));
    const Place to = placeOf(folderOf(header));
    if (from.row < 0)
        return QStringLiteral("folder \"%1\" is in no layer of the table").arg(folderOf(file));
    if (to.row < 0)
        return QStringLiteral("folder \"%1\" is in no layer of the table").arg(folderOf(header));
    if (to.folder == QLatin1String("platform/linux") && from.folder != to.folder && !LinuxIncluders.contains(file))
        return QStringLiteral("only the composition root names Linux backends");
    if (to.row < from.row || (to.row == from.row && to.group == from.group))
        return {};
    return QStringLiteral("%1 sits below %2").arg(from.folder, to.folder.isEmpty() ? "src/" : to.folder);
}

} // namespace

TEST(IncludeDirectionTest, TheTableReadsAsDrawn)
{
    const struct {
        const char *file, *header;
        bool allowed;
    } cases[] = {
        {"island/notchviewmodel.cpp", "store/appsettings.h", true},
        {"notch/notchpanel.cpp", "island/islandtypes.h", true},
        {"island/notchviewmodel.h", "notch/notchgeometry.h", false},
        {"update/updateservice.cpp", "store/appsettings.h", false},
        {"services/weatherservice.cpp", "media/nowplayinginfo.h", false},
        {"games/action/dinoengine.h", "games/arcadeengine.h", true},
        {"games/arcadeengine.cpp", "games/action/actionkinds.h", true},
        {"island/symbols/x.h", "island/islandtypes.h", true},
        {"settings/settingsmodel.cpp", "style/palette.h", true},
        {"island/islandpalette.cpp", "settings/settingsmodel.h", false},
        {"app/compositionroot.cpp", "platform/linux/x11mediakeys.h", true},
        {"app/appdelegate.cpp", "platform/linux/x11mediakeys.h", false},
        {"main.cpp", "platform/linux/displaycheck.h", false},
        {"platform/linux/x11mediakeys.cpp", "platform/linux/x11keygrabs.h", true},
        {"platform/linux/qtscreenprovider.cpp", "notch/notchgeometry.h", false},
        {"main.cpp", "app/compositionroot.h", true},
        {"newfolder/thing.cpp", "core/clock.h", false},
        {"style/accent.cpp", "core/clock.h", true},
        {"games/gameviews.cpp", "style/palette.h", true},
        {"style/palette.cpp", "platform/screens.h", false},
        {"style/palette.cpp", "island/islandtypes.h", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(violation(c.file, c.header).isEmpty(), c.allowed) << c.file << " -> " << c.header;
}

TEST(IncludeDirectionTest, EveryIncludeOfTheProgramPointsDown)
{
    const QString src = QStringLiteral(PAVLET_SOURCE_DIR "/src/");
    static const QRegularExpression include(R"re(^\s*(?:#\s*include\s*|Q_MOC_INCLUDE\(\s*)"([^"]+)")re",
                                            QRegularExpression::MultilineOption);
    QStringList faults;
    int files = 0;
    QDirIterator it(src, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString file = path.mid(src.size());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
        ++files;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QString header = m.next().captured(1);
            if (!QFileInfo::exists(src + header)) {
                faults << QStringLiteral("%1: \"%2\" is not a path below src/").arg(file, header);
                continue;
            }
            const QString why = violation(file, header);
            if (!why.isEmpty())
                faults << QStringLiteral("%1 includes %2: %3").arg(file, header, why);
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join('\n'));
}
