#include "platform/linux/opencvfacedetector.h"
#include "platform/linux/besideprogram.h"

#include "core/logging.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentRun>

#include "platform/linux/facecascade/facecascade.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace platform {

namespace {
// Frames are searched at this width at most: plenty for a face that fills a
// fair part of the picture, and quick.
constexpr int SearchWidth = 480;
constexpr int MaxFaces = 16;

QString modulePath()
{
    return builtOrBesideProgram(QStringLiteral(PAVLET_FACE_MODULE));
}
} // namespace

struct OpenCvFaceDetector::Cascade {
    QMutex mutex;
    QLibrary module;
    PavletFaceCascade *cascade = nullptr;
    PavletFaceCascadeFree free = nullptr;
    PavletFaceCascadeDetect search = nullptr;
    bool loaded = false;

    explicit Cascade(const QString &path)
    {
        if (!QFile::exists(path))
            return;
        module.setFileName(modulePath());
        auto load = reinterpret_cast<PavletFaceCascadeLoad>(module.resolve("pavlet_face_cascade_load"));
        free = reinterpret_cast<PavletFaceCascadeFree>(module.resolve("pavlet_face_cascade_free"));
        search = reinterpret_cast<PavletFaceCascadeDetect>(module.resolve("pavlet_face_cascade_detect"));
        if (!load || !free || !search) {
            qCWarning(lcPlatform) << "face search module missing:" << module.errorString();
            return;
        }
        cascade = load(QFile::encodeName(path).constData());
        loaded = cascade != nullptr;
        if (!loaded)
            qCWarning(lcPlatform) << "face cascade unreadable:" << path;
    }
    ~Cascade()
    {
        if (cascade)
            free(cascade);
    }

    QList<QRectF> detect(const QImage &image)
    {
        QList<QRectF> faces;
        if (image.isNull() || image.width() < 24 || image.height() < 24)
            return faces;
        QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
        if (gray.width() > SearchWidth)
            gray = gray.scaledToWidth(SearchWidth, Qt::SmoothTransformation);
        const int minSide = std::max(24, std::min(gray.width(), gray.height()) / 10);
        int rects[4 * MaxFaces];
        int found = 0;
        {
            QMutexLocker lock(&mutex);
            if (!loaded)
                return faces;
            found = search(cascade, gray.constBits(), gray.width(), gray.height(), int(gray.bytesPerLine()), minSide,
                           rects, MaxFaces);
        }
        if (found < 0) {
            qCWarning(lcPlatform) << "face search failed";
            return faces;
        }
        const double w = gray.width();
        const double h = gray.height();
        for (int i = 0; i < found; ++i) {
            const int *r = rects + 4 * i;
            faces.append(QRectF(r[0] / w, r[1] / h, r[2] / w, r[3] / h));
        }
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
    m_cascade = std::make_shared<Cascade>(m_cascadePath);
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

} // namespace platform
