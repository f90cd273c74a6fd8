#pragma once

#include "core/scheduler.h"
#include "platform/webfetcher.h"
#include "update/updatetypes.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

class Executor;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;

namespace platform {
class IAppLauncher;
}

// Finds out whether the update host offers a newer build, prompts for it
// once, and downloads, verifies, saves and opens its disk image. Lives on the
// main thread; every outcome lands in the published status.
class UpdateService : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(UpdateStatus status READ status NOTIFY statusChanged)
    Q_PROPERTY(UpdateManifest latest READ latestOrEmpty NOTIFY latestChanged)
    Q_PROPERTY(bool hasLatest READ hasLatest NOTIFY latestChanged)
    Q_PROPERTY(bool wantsPrompt READ wantsPrompt NOTIFY wantsPromptChanged)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(qint64 currentBuild READ currentBuild CONSTANT)
    Q_PROPERTY(QString host READ host CONSTANT)
public:
    static inline const QString UpdateHost = QStringLiteral("pavlet.app");
    static inline const QString FallbackVersion = QStringLiteral("0.1.2");
    static inline const QString ImageName = QStringLiteral("Pavlet.dmg");

    static inline const QString NetworkMessage =
        QStringLiteral("Couldn't check for updates. Check the network and try again.");
    static inline const QString CheckFailedMessage = QStringLiteral("Couldn't check for updates.");
    static inline const QString DownloadFailedMessage = QStringLiteral("Download didn't finish");
    static inline const QString ChecksumMessage = QStringLiteral("Update file didn't match the checksum");
    static inline const QString SaveFailedMessage = QStringLiteral("Couldn't save the disk image");

    static constexpr int CheckTimeoutMs = 12000;
    static constexpr int DownloadStallTimeoutMs = 30000;
    static constexpr int DownloadTimeoutMs = 300000;

    struct Options {
        // Where the manifest lies ("/update.json" below it); its host and
        // the "www." form of it are the hosts images may come from.
        QUrl updateBase = QUrl(QStringLiteral("https://") + UpdateHost);
        // This program's version and build number, from the build.
        QString currentVersion = QStringLiteral(PAVLET_VERSION);
        QString currentBuild = QStringLiteral(PAVLET_BUILD_NUMBER);
        // Where the verified image is saved; empty means the temporary folder.
        QString downloadsFolder;
        // Where the image is written while it downloads.
        QString temporaryFolder;
    };

    // Checks go through fetcher, downloads through network. Hashing and
    // saving a downloaded image run on executor (the shared thread pool when
    // none is given).
    UpdateService(platform::IWebFetcher *fetcher, QNetworkAccessManager *network, Scheduler *scheduler,
                  platform::IAppLauncher *desktop, const Options &options, Executor *executor = nullptr,
                  QObject *parent = nullptr);
    ~UpdateService() override;

    UpdateStatus status() const { return m_status; }
    const std::optional<UpdateManifest> &latest() const { return m_latest; }
    bool hasLatest() const { return m_latest.has_value(); }
    bool wantsPrompt() const { return m_wantsPrompt; }
    QString currentVersion() const { return m_currentVersion; }
    qint64 currentBuild() const { return m_currentBuild; }
    QString host() const { return m_base.host(); }
    QUrl manifestUrl() const;
    QSet<QString> allowedHosts() const;

    // Asks the update host for its manifest; prompt: whether a newer build
    // found now may raise wantsPrompt. Ignored while checking or downloading.
    Q_INVOKABLE void check(bool prompt);
    // The main button: checks, downloads, retries or opens the saved image,
    // depending on the status.
    Q_INVOKABLE void downloadOrOpen();
    // Ends the prompt for this run and skips the offered version at later
    // starts.
    Q_INVOKABLE void dismiss();

    // The version the user skipped at an earlier prompt; a check finding it
    // raises no prompt. The settings keep it between runs.
    void setSkippedVersion(const QString &version) { m_skippedVersion = version; }
    QString skippedVersion() const { return m_skippedVersion; }

    void startDownload();
    void openReadyImage();

    // Moves a verified image to the downloads folder as "Pavlet.dmg",
    // replacing an older one. Nothing when it could not be saved.
    static std::optional<QString> moveToDownloads(const QString &source, const QString &downloadsFolder,
                                                  const QString &temporaryFolder);

signals:
    void statusChanged();
    void latestChanged();
    void wantsPromptChanged();
    // The user dismissed the prompt for this version: skip it at later starts.
    void versionSkipped(const QString &version);

private:
    enum class NetFailure { none, network, other };
    void setStatus(const UpdateStatus &status);
    void setLatest(const std::optional<UpdateManifest> &latest);
    void setWantsPrompt(bool wants);
    UpdateManifest latestOrEmpty() const { return m_latest.value_or(UpdateManifest()); }
    void finishCheck(const platform::WebAnswer &answer, bool prompt);
    void checkFailed(NetFailure failure);
    void onDownloadData();
    void onDownloadProgress(QNetworkReply *reply, qint64 received, qint64 total);
    void onDownloadFinished(QNetworkReply *reply);
    void endDownload(QNetworkReply *reply, bool succeeded);
    void verifyAndSave(const QString &tempPath, const UpdateManifest &manifest);
    void finishSave(const std::optional<QString> &saved, bool checksumMismatch);

    QString m_skippedVersion;
    Executor *m_executor;
    platform::IWebFetcher *m_fetcher;
    QNetworkAccessManager *m_network;
    Scheduler *m_scheduler;
    platform::IAppLauncher *m_desktop;
    QUrl m_base;
    QString m_currentVersion;
    qint64 m_currentBuild = 0;
    QString m_downloadsFolder;
    QString m_temporaryFolder;

    UpdateStatus m_status;
    std::optional<UpdateManifest> m_latest;
    bool m_wantsPrompt = false;
    bool m_dismissedThisSession = false;
    // "Try again" after a failed download: the check it starts downloads
    // once it finds the build.
    bool m_downloadAfterCheck = false;

    TaskHandle m_checkTimeout;
    // The check's fetch while it runs, else 0.
    quint64 m_checkFetch = 0;
    // The running download: its reply, the file it streams into, its
    // overall time limit and the manifest it was started for.
    QPointer<QNetworkReply> m_download;
    // The image being written, a child of the service while it is open.
    std::unique_ptr<QFile> m_downloadFile;
    TaskHandle m_downloadTimeout;
    bool m_downloadTimedOut = false;
    UpdateManifest m_downloadManifest;
};
