#include "update/updateservice.h"

#include "core/executor.h"
#include "platform/applauncher.h"
#include "update/updatechecksum.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QUuid>
#include <memory>
#include <utility>

namespace {

// Errors of the connection itself, as opposed to an HTTP error status that
// came with a body.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

// The connection problems the user can do something about.
bool isNetworkError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

} // namespace

UpdateService::UpdateService(platform::IWebFetcher *fetcher, QNetworkAccessManager *network, Scheduler *scheduler,
                             platform::IAppLauncher *desktop, const Options &options, Executor *executor,
                             QObject *parent)
    : QObject(parent)
    , m_executor(executor ? executor : &ThreadPoolExecutor::shared())
    , m_fetcher(fetcher)
    , m_network(network)
    , m_scheduler(scheduler)
    , m_desktop(desktop)
    , m_base(options.updateBase)
    , m_currentVersion(options.currentVersion.isEmpty() ? FallbackVersion : options.currentVersion)
    , m_currentBuild(parseSignedDecimal(options.currentBuild.isEmpty() ? QStringLiteral("0") : options.currentBuild)
                         .value_or(0))
    , m_downloadsFolder(options.downloadsFolder)
    , m_temporaryFolder(options.temporaryFolder.isEmpty() ? QDir::tempPath() : options.temporaryFolder)
{
}

UpdateService::~UpdateService()
{
    if (m_checkFetch)
        m_fetcher->cancel(m_checkFetch);
    // A download cut short by the end of the program leaves no partial file.
    if (m_download) {
        disconnect(m_download, nullptr, this, nullptr);
        m_download->abort();
    }
    if (m_downloadFile) {
        m_downloadFile->close();
        m_downloadFile->remove();
    }
}

QUrl UpdateService::manifestUrl() const
{
    QUrl url = m_base;
    url.setPath(QStringLiteral("/update.json"));
    return url;
}

QSet<QString> UpdateService::allowedHosts() const
{
    const QString host = m_base.host().toLower();
    return {host, QStringLiteral("www.") + host};
}

void UpdateService::setStatus(const UpdateStatus &status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged();
}

void UpdateService::setLatest(const std::optional<UpdateManifest> &latest)
{
    if (m_latest == latest)
        return;
    m_latest = latest;
    emit latestChanged();
}

void UpdateService::setWantsPrompt(bool wants)
{
    if (m_wantsPrompt == wants)
        return;
    m_wantsPrompt = wants;
    emit wantsPromptChanged();
}

void UpdateService::check(bool prompt)
{
    if (m_status.is(UpdateStatus::Kind::downloading) || m_status.is(UpdateStatus::Kind::checking))
        return;
    setStatus(UpdateStatus::checking());

    // The time limit is ours, so that a silent host reads as a network
    // problem whatever the fetch would report in the end.
    m_checkFetch = m_fetcher->get(manifestUrl(), {{"Accept", "application/json"}},
                                  [this, prompt](const platform::WebAnswer &answer) {
                                      m_checkFetch = 0;
                                      m_checkTimeout.cancel();
                                      finishCheck(answer, prompt);
                                  });
    m_checkTimeout = m_scheduler->after(CheckTimeoutMs, [this] {
        m_fetcher->cancel(std::exchange(m_checkFetch, 0));
        checkFailed(NetFailure::network);
    });
}

void UpdateService::finishCheck(const platform::WebAnswer &answer, bool prompt)
{
    if (isTransportError(answer.error)) {
        checkFailed(isNetworkError(answer.error) ? NetFailure::network : NetFailure::other);
        return;
    }
    if (!answer.status) {
        checkFailed(NetFailure::other);
        return;
    }
    const int code = *answer.status;
    const QByteArray &body = answer.body;
    // A missing manifest, or a web host's error page, means no update.
    if (code == 404 || looksLikeHTML(body)) {
        m_downloadAfterCheck = false;
        setLatest(std::nullopt);
        setStatus(UpdateStatus::upToDate());
        setWantsPrompt(false);
        return;
    }
    if (code < 200 || code > 399) {
        checkFailed(NetFailure::other);
        return;
    }
    const auto parsed = parseManifest(body, allowedHosts());
    const UpdateManifest *manifest = std::get_if<UpdateManifest>(&parsed);
    if (!manifest) {
        checkFailed(NetFailure::other);
        return;
    }
    const int order = compareVersions(manifest->version, m_currentVersion);
    const bool newer = order == 1 || (order == 0 && manifest->build > m_currentBuild);
    if (!newer) {
        m_downloadAfterCheck = false;
        setLatest(std::nullopt);
        setStatus(UpdateStatus::upToDate());
        setWantsPrompt(false);
        return;
    }
    setLatest(*manifest);
    setStatus(UpdateStatus::available());
    setWantsPrompt(prompt && manifest->version != m_skippedVersion && !m_dismissedThisSession);
    if (std::exchange(m_downloadAfterCheck, false))
        startDownload();
}

void UpdateService::checkFailed(NetFailure failure)
{
    m_downloadAfterCheck = false;
    setStatus(UpdateStatus::failed(failure == NetFailure::network ? NetworkMessage : CheckFailedMessage));
    setWantsPrompt(false);
}

void UpdateService::dismiss()
{
    if (m_latest) {
        m_skippedVersion = m_latest->version;
        emit versionSkipped(m_latest->version);
    }
    m_dismissedThisSession = true;
    setWantsPrompt(false);
}

void UpdateService::downloadOrOpen()
{
    switch (m_status.kind) {
    case UpdateStatus::Kind::downloading:
    case UpdateStatus::Kind::checking:
        return;
    case UpdateStatus::Kind::ready:
        openReadyImage();
        return;
    case UpdateStatus::Kind::idle:
    case UpdateStatus::Kind::upToDate:
        check(false);
        return;
    case UpdateStatus::Kind::failed:
        // The host may have put right what failed (the image, its checksum,
        // its address): the download that follows goes by the manifest it
        // gives now.
        m_downloadAfterCheck = m_latest.has_value();
        check(false);
        return;
    case UpdateStatus::Kind::available:
        startDownload();
        return;
    }
}

void UpdateService::openReadyImage()
{
    if (m_status.is(UpdateStatus::Kind::ready) && m_desktop)
        m_desktop->openUrl(m_status.file);
}

void UpdateService::startDownload()
{
    if (!m_latest)
        return;
    setStatus(UpdateStatus::downloading(0));

    const QString tempPath = m_temporaryFolder + QStringLiteral("/Pavlet-")
                             + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".dmg");
    auto file = std::make_unique<QFile>(tempPath, this);
    if (file->exists())
        file->remove();
    if (!QDir().mkpath(m_temporaryFolder) || !file->open(QIODevice::WriteOnly)) {
        setStatus(UpdateStatus::failed(DownloadFailedMessage));
        return;
    }

    QNetworkRequest request(m_latest->url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(DownloadStallTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    reply->setParent(this);

    m_download = reply;
    m_downloadFile = std::move(file);
    m_downloadManifest = *m_latest;
    m_downloadTimedOut = false;
    m_downloadTimeout = m_scheduler->after(DownloadTimeoutMs, [this, reply] {
        if (m_download == reply) {
            m_downloadTimedOut = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (m_download == reply)
            onDownloadData();
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64 total) { onDownloadProgress(reply, received, total); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onDownloadFinished(reply); });
}

void UpdateService::onDownloadData()
{
    const QByteArray chunk = m_download->readAll();
    if (!chunk.isEmpty() && m_downloadFile->write(chunk) != chunk.size()) {
        // A full disk: nothing sound can come of the rest.
        m_downloadFile->close();
        m_download->abort();
    }
}

void UpdateService::onDownloadProgress(QNetworkReply *reply, qint64 received, qint64 total)
{
    // Only the running download moves the bar, and only while the status
    // still says it runs: a late report must not revive a finished one.
    if (reply != m_download || !m_status.is(UpdateStatus::Kind::downloading))
        return;
    // Without a length from the server there is nothing to measure against;
    // Qt's closing report (the received size as the total) is no progress.
    if (total < 1 || !reply->header(QNetworkRequest::ContentLengthHeader).isValid())
        return;
    setStatus(UpdateStatus::downloading(std::min(double(received) / double(total), 1.0)));
}

void UpdateService::onDownloadFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_download)
        return;
    onDownloadData();
    const bool written = m_downloadFile->isOpen() && m_downloadFile->flush();
    m_downloadFile->close();
    const QString tempPath = m_downloadFile->fileName();
    const bool failed = m_downloadTimedOut || isTransportError(reply->error()) || !written;

    m_downloadTimeout.cancel();
    m_download = nullptr;
    m_downloadFile.reset();
    const UpdateManifest manifest = m_downloadManifest;

    if (failed) {
        QFile::remove(tempPath);
        setStatus(UpdateStatus::failed(DownloadFailedMessage));
        return;
    }
    verifyAndSave(tempPath, manifest);
}

void UpdateService::verifyAndSave(const QString &tempPath, const UpdateManifest &manifest)
{
    // Hashing and moving a large image take seconds: they run on a worker,
    // and only the result comes back to the main thread.
    QPointer<UpdateService> self(this);
    const QString downloads = m_downloadsFolder;
    const QString temporary = m_temporaryFolder;
    const QString expected = manifest.sha256;
    m_executor->run([self, tempPath, downloads, temporary, expected] {
        const ChecksumResult check = verifyChecksum(tempPath, expected);
        std::optional<QString> saved;
        if (check == ChecksumResult::matches)
            saved = moveToDownloads(tempPath, downloads, temporary);
        if (!saved)
            QFile::remove(tempPath);
        const bool mismatch = check == ChecksumResult::differs;
        // The application object outlives the service; the service may not.
        if (QCoreApplication *app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app,
                [self, saved, mismatch] {
                    if (self)
                        self->finishSave(saved, mismatch);
                },
                Qt::QueuedConnection);
        }
    });
}

void UpdateService::finishSave(const std::optional<QString> &saved, bool checksumMismatch)
{
    if (!saved) {
        setStatus(UpdateStatus::failed(checksumMismatch ? ChecksumMessage : SaveFailedMessage));
        return;
    }
    setStatus(UpdateStatus::ready(QUrl::fromLocalFile(*saved)));
    openReadyImage();
}

std::optional<QString> UpdateService::moveToDownloads(const QString &source, const QString &downloadsFolder,
                                                      const QString &temporaryFolder)
{
    const QString folder = downloadsFolder.isEmpty() ? temporaryFolder : downloadsFolder;
    if (!QDir().mkpath(folder))
        return std::nullopt;
    const QString target = QDir(folder).filePath(ImageName);
    if (QFile::exists(target) && !QFile::remove(target))
        return std::nullopt;
    // Falls back to copy-and-delete when the folders are on different disks.
    if (!QFile::rename(source, target))
        return std::nullopt;
    return target;
}
