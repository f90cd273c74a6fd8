#include "app/rendererchoice.h"
#include "app/rendererprobe.h"
#include "xsession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A stand-in for the probe program: a shell script with this body.
QString script(const QTemporaryDir &dir, const char *name, const QByteArray &body)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// What the probe says reaches the choice; that it found no OpenGL is an
// answer too; a probe that cannot be started, dies or hangs is no answer (the
// island then asks OpenGL itself), and a hanging one is not waited for.
TEST(RendererProbeTest, AnAnswerNoOpenGlOrNoAnswer)
{
    QTemporaryDir dir;
    EXPECT_EQ(RendererProbe(script(dir, "says", "echo 'llvmpipe (LLVM 15.0.6, 256 bits)'")).answer(10000),
              QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_EQ(RendererProbe(script(dir, "none", "exit 1")).answer(10000), QString());
    EXPECT_EQ(RendererProbe(script(dir, "dies", "echo half; kill -KILL $$")).answer(10000), std::nullopt);
    EXPECT_EQ(RendererProbe(dir.filePath(QStringLiteral("missing"))).answer(10000), std::nullopt);
    EXPECT_EQ(RendererProbe(QString()).answer(10000), std::nullopt);

    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(RendererProbe(script(dir, "hangs", "echo llvmpipe; exec sleep 60")).answer(200), std::nullopt);
    EXPECT_EQ(RendererProbe(script(dir, "lingers", "echo llvmpipe; exec sleep 60 >&-")).answer(200), std::nullopt);
    EXPECT_LT(waited.elapsed(), 30000);
}

// The real probe program on an X server without direct rendering: it names
// a software rasteriser.
TEST(RendererProbeTest, TheProbeProgramNamesTheRasteriserOfADisplayWithoutDirectRendering)
{
    XSession x;
    ASSERT_TRUE(x.isRunning());
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", x.display().toLatin1());
    RendererProbe probe(QStringLiteral(PAVLET_GL_PROBE));
    qputenv("DISPLAY", display);
    const std::optional<QString> said = probe.answer(20000);
    ASSERT_TRUE(said.has_value());
    EXPECT_TRUE(RendererChoice::isSoftwareRasteriser(*said)) << said->toStdString();
}
