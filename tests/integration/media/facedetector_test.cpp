#include "media/mirrorcamera.h"
#include "platform/linux/opencvfacedetector.h"
#include "support/pavlettest.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// A plain drawn face: light oval, dark brows and eyes, a lighter nose
// ridge and a dark mouth, on a mid-grey picture. faceWidth is a fraction of
// the picture's width.
QImage drawnFace(double faceWidth, QSize picture = QSize(640, 480))
{
    QImage image(picture, QImage::Format_RGB32);
    image.fill(QColor(110, 110, 110));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = faceWidth * picture.width();
    const double h = w * 1.3;
    const QPointF c(picture.width() / 2.0, picture.height() / 2.0);
    const QRectF face(c.x() - w / 2, c.y() - h / 2, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 190, 165));
    p.drawEllipse(face);
    auto at = [&](double fx, double fy) { return QPointF(face.left() + fx * w, face.top() + fy * h); };
    // brows
    p.setBrush(QColor(40, 30, 25));
    p.drawRoundedRect(QRectF(at(0.18, 0.30), QSizeF(0.24 * w, 0.05 * h)), 4, 4);
    p.drawRoundedRect(QRectF(at(0.58, 0.30), QSizeF(0.24 * w, 0.05 * h)), 4, 4);
    // eyes
    p.setBrush(QColor(30, 25, 25));
    p.drawEllipse(QRectF(at(0.22, 0.38), QSizeF(0.18 * w, 0.08 * h)));
    p.drawEllipse(QRectF(at(0.60, 0.38), QSizeF(0.18 * w, 0.08 * h)));
    // nose shadow
    p.setBrush(QColor(190, 150, 130));
    p.drawEllipse(QRectF(at(0.42, 0.55), QSizeF(0.16 * w, 0.10 * h)));
    // mouth
    p.setBrush(QColor(120, 50, 50));
    p.drawEllipse(QRectF(at(0.32, 0.72), QSizeF(0.36 * w, 0.07 * h)));
    return image;
}

} // namespace

TEST(FaceDetector, TheRealCascadeJudgesDistance)
{
    platform::OpenCvFaceDetector detector;
    ASSERT_TRUE(detector.isLoaded()) << "opencv-data provides the cascade";
    struct Case {
        const char *what;
        QImage image;
        bool found;
        bool tooClose;
    };
    QImage blank(640, 480, QImage::Format_RGB32);
    blank.fill(QColor(110, 110, 110));
    const Case cases[] = {
        {"large face", drawnFace(0.45), true, true},
        {"small face", drawnFace(0.2), true, false},
        {"empty frame", blank, false, false},
        {"tiny picture", QImage(10, 10, QImage::Format_RGB32), false, false},
        {"null picture", QImage(), false, false},
    };
    for (const Case &c : cases) {
        const QList<QRectF> faces = detector.detectNow(c.image);
        EXPECT_EQ(!faces.isEmpty(), c.found) << c.what;
        EXPECT_EQ(isFaceTooClose(faces), c.tooClose) << c.what;
        for (const QRectF &f : faces)
            EXPECT_TRUE(QRectF(0, 0, 1, 1).contains(f)) << c.what;
    }
}

TEST(FaceDetector, SearchesOffTheMainThreadAndAnswersOnIt)
{
    platform::OpenCvFaceDetector detector;
    QSignalSpy spy(&detector, &platform::IFaceDetector::detected);
    detector.detect(drawnFace(0.45, QSize(1280, 720)));
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_TRUE(isFaceTooClose(spy.first().first().value<QList<QRectF>>()));

    platform::OpenCvFaceDetector missing(QStringLiteral("/nonexistent/cascade.xml"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_TRUE(missing.detectNow(drawnFace(0.45)).isEmpty());
}
