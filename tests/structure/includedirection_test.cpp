// Folders of src/ include only folders below them. A header is named by its
// path below src/ ("core/clock.h"), so the folder of every include is known
// from its text alone.

#include "layers.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace layers;

// Outside its own folder, only these files may name a Linux backend.
const QStringList LinuxIncluders = {"app/compositionroot.h", "app/compositionroot.cpp"};

// Why file (a path below src/) may not include header, or empty when it may.
QString violation(const QString &file, const QString &header)
{
    const QString from = folderOf(file);
    const QString to = folderOf(header);
    if (placeOf(to).folder == QLatin1String("platform/linux") && placeOf(from).folder != placeOf(to).folder
        && placeOf(from).row >= 0 && !LinuxIncluders.contains(file))
        return QStringLiteral("only the composition root names Linux backends");
    return crossing(from, to);
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
        {"platform/linux/x11mediakeys.cpp", "platform/linux/x11keygrab.h", true},
        {"platform/linux/qtscreenprovider.cpp", "notch/notchgeometry.h", false},
        {"main.cpp", "app/compositionroot.h", true},
        {"newfolder/thing.cpp", "core/clock.h", false},
        {"style/accent.cpp", "core/clock.h", true},
        {"games/gameviews.cpp", "style/palette.h", true},
        {"style/palette.cpp", "platform/screenprovider.h", false},
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
