#include "app/rendererchoice.h"

#include <gtest/gtest.h>

// Renderer strings as Mesa and the vendors' drivers report them.
TEST(RendererChoiceTest, SoftwareRasterisersAreToldFromDrivers)
{
    struct Case {
        const char *renderer;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"Mesa X11 swrast", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
        {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
        {"virgl (Intel(R) UHD Graphics)", false},
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RendererChoice::isSoftwareRasteriser(c.renderer), c.software) << c.renderer;
}

TEST(RendererChoiceTest, ARendererTheUserNamedIsKept)
{
    const QString llvmpipe = QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)");
    EXPECT_TRUE(RendererChoice::prefersSoftware({}, {}, llvmpipe));
    EXPECT_FALSE(RendererChoice::prefersSoftware(QStringLiteral("rhi"), {}, llvmpipe));
    EXPECT_FALSE(RendererChoice::prefersSoftware({}, QStringLiteral("opengl"), llvmpipe));
    EXPECT_FALSE(RendererChoice::prefersSoftware({}, {}, QStringLiteral("Mesa Intel(R) Xe Graphics")));
}
