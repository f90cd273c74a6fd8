#include "platform/linux/facecascade/facecascade.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>
#include <vector>

struct PavletFaceCascade {
    cv::CascadeClassifier classifier;
};

PavletFaceCascade *pavlet_face_cascade_load(const char *path)
{
    auto *cascade = new PavletFaceCascade;
    try {
        if (cascade->classifier.load(path))
            return cascade;
    } catch (const cv::Exception &) {
    }
    delete cascade;
    return nullptr;
}

void pavlet_face_cascade_free(PavletFaceCascade *cascade)
{
    delete cascade;
}

int pavlet_face_cascade_detect(PavletFaceCascade *cascade, const unsigned char *gray, int width, int height,
                               int bytesPerLine, int minSide, int *rects, int maxFaces)
{
    if (!cascade || !gray || width <= 0 || height <= 0)
        return -1;
    try {
        cv::Mat mat(height, width, CV_8UC1, const_cast<unsigned char *>(gray), size_t(bytesPerLine));
        cv::Mat equalised;
        cv::equalizeHist(mat, equalised);
        std::vector<cv::Rect> found;
        cascade->classifier.detectMultiScale(equalised, found, 1.1, 4, 0, cv::Size(minSide, minSide));
        const int n = std::min(int(found.size()), maxFaces);
        for (int i = 0; i < n; ++i) {
            rects[4 * i] = found[i].x;
            rects[4 * i + 1] = found[i].y;
            rects[4 * i + 2] = found[i].width;
            rects[4 * i + 3] = found[i].height;
        }
        return n;
    } catch (const cv::Exception &) {
        return -1;
    }
}
