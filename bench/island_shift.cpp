// Watches the island through 100 animations on an X server without a window
// manager or compositor and counts the captures in which the island is not
// where it belongs: every capture must show it centred on the notch and
// hanging from the top edge. The pointer goes onto the island and away again
// (hover opens, the pointer leaving closes); the root window is read back as
// fast as the server answers, which catches a frame that stays on screen even
// for a few milliseconds.
//
// usage: island_shift [animations=100] [centreX=756] [shot.ppm]
// (bench/island-shift.sh starts the server and the program first)
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

constexpr uint32_t desktop = 0xff00ff;
constexpr int left = 560, width = 392, height = 140;

struct Box {
    int l = width, r = -1, top = height;
    bool empty() const { return r < 0; }
};

Box islandIn(const uint8_t *px, int stride)
{
    Box b;
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = px + y * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
            if (c == desktop)
                continue;
            b.l = std::min(b.l, x);
            b.r = std::max(b.r, x);
            b.top = std::min(b.top, y);
        }
    }
    return b;
}

void save(const char *path, const uint8_t *px, int stride)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t *p = px + y * stride + 4 * x;
            const uint8_t rgb[3] = {p[2], p[1], p[0]};
            std::fwrite(rgb, 1, 3, f);
        }
    std::fclose(f);
}
} // namespace

int main(int argc, char **argv)
{
    const int animations = argc > 1 ? std::atoi(argv[1]) : 100;
    const int centre = argc > 2 ? std::atoi(argv[2]) : 756;
    const char *shot = argc > 3 ? argv[3] : nullptr;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;
    const uint32_t bg[] = {desktop};
    xcb_change_window_attributes(c, root, XCB_CW_BACK_PIXEL, bg);
    xcb_clear_area(c, 0, root, 0, 0, 0, 0);
    xcb_flush(c);

    long captures = 0, shifted = 0, missing = 0;
    auto watch = [&](Clock::duration span) {
        const auto end = Clock::now() + span;
        while (Clock::now() < end) {
            xcb_get_image_reply_t *img = xcb_get_image_reply(
                c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, left, 0, width, height, ~0u), nullptr);
            if (!img)
                continue;
            const uint8_t *px = xcb_get_image_data(img);
            const int stride = xcb_get_image_data_length(img) / height;
            const Box b = islandIn(px, stride);
            ++captures;
            if (b.empty()) {
                ++missing;
            } else {
                // Twice the centre, so that odd widths compare exactly.
                const int twiceCentre = 2 * left + b.l + b.r + 1;
                if (b.top != 0 || std::abs(twiceCentre - 2 * centre) > 2) {
                    if (shifted < 5)
                        std::printf("shifted: x %d..%d top %d\n", left + b.l, left + b.r, b.top);
                    if (shifted == 0 && shot)
                        save(shot, px, stride);
                    ++shifted;
                }
            }
            std::free(img);
        }
    };

    for (int i = 0; i < animations; ++i) {
        // Onto the island (it opens), then away (it closes).
        const bool onto = i % 2 == 0;
        xcb_warp_pointer(c, XCB_NONE, root, 0, 0, 0, 0, onto ? centre : 200, onto ? 10 : 700);
        xcb_flush(c);
        watch(std::chrono::milliseconds(onto ? 900 : 1300));
    }
    std::printf("animations %d  captures %ld  shifted %ld  without island %ld\n", animations, captures, shifted,
                missing);
    xcb_disconnect(c);
    return shifted == 0 && missing == 0 ? 0 : 1;
}
