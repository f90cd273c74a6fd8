#include "opencvfacedetector.h"

#include "logging.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentRun>

#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

namespace {
// Frames are searched at this width at most: plenty for a face that fills a
// fair part of the picture, and quick.
constexpr int SearchWidth = 480;
} // namespace

struct OpenCvFaceDetector::Cascade {
    QMutex mutex;
    cv::CascadeClassifier classifier;
    bool loaded = false;

    QList<QRectF> detect(const QImage &image)
    {
        QList<QRectF> faces;
        if (image.isNull() || image.width() < 24 || image.height() < 24)
            return faces;
        QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
        if (gray.width() > SearchWidth)
            gray = gray.scaledToWidth(SearchWidth, Qt::SmoothTransformation);
        cv::Mat mat(gray.height(), gray.width(), CV_8UC1, const_cast<uchar *>(gray.constBits()),
                    size_t(gray.bytesPerLine()));
        cv::Mat equalised;
        cv::equalizeHist(mat, equalised);
        std::vector<cv::Rect> found;
        const int minSide = std::max(24, std::min(gray.width(), gray.height()) / 10);
        {
            QMutexLocker lock(&mutex);
            if (!loaded)
                return faces;
            try {
                classifier.detectMultiScale(equalised, found, 1.1, 4, 0, cv::Size(minSide, minSide));
            } catch (const cv::Exception &e) {
                qCWarning(lcPlatform) << "face search failed:" << e.what();
                return faces;
            }
        }
        const double w = gray.width();
        const double h = gray.height();
        for (const cv::Rect &r : found)
            faces.append(QRectF(r.x / w, r.y / h, r.width / w, r.height / h));
        return faces;
    }
};

OpenCvFaceDetector::OpenCvFaceDetector(const QString &cascadePath, QObject *parent)
    : platform::IFaceDetector(parent)
    , m_cascadePath(cascadePath)
{
    connect(&m_watcher, &QFutureWatcher<QList<QRectF>>::finished, this,
            [this] { emit detected(m_watcher.result()); });
}

OpenCvFaceDetector::~OpenCvFaceDetector()
{
    m_watcher.waitForFinished();
}

const std::shared_ptr<OpenCvFaceDetector::Cascade> &OpenCvFaceDetector::cascade() const
{
    if (m_cascade)
        return m_cascade;
    m_cascade = std::make_shared<Cascade>();
    if (QFile::exists(m_cascadePath)) {
        try {
            m_cascade->loaded = m_cascade->classifier.load(QFile::encodeName(m_cascadePath).toStdString());
        } catch (const cv::Exception &e) {
            qCWarning(lcPlatform) << "face cascade unreadable:" << e.what();
        }
    }
    if (!m_cascade->loaded)
        qCWarning(lcPlatform) << "no face cascade at" << m_cascadePath;
    return m_cascade;
}

bool OpenCvFaceDetector::isLoaded() const
{
    return cascade()->loaded;
}

void OpenCvFaceDetector::detect(const QImage &image)
{
    if (m_watcher.isRunning()) {
        // One search at a time; the caller sends at most one per interval.
        return;
    }
    m_watcher.setFuture(QtConcurrent::run([c = cascade(), image] { return c->detect(image); }));
}

QList<QRectF> OpenCvFaceDetector::detectNow(const QImage &image) const
{
    return cascade()->detect(image);
}
