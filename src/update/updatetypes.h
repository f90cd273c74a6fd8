#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

// What the update service is doing, with the payload of the current kind:
// the fraction done while downloading, the saved image once ready, the
// message after a failure.
struct UpdateStatus {
    Q_GADGET
    QML_VALUE_TYPE(updateStatus)
    Q_PROPERTY(Kind kind MEMBER kind)
    Q_PROPERTY(double fraction MEMBER fraction)
    Q_PROPERTY(QUrl file MEMBER file)
    Q_PROPERTY(QString message MEMBER message)
public:
    enum class Kind { downloading, ready, failed, idle, checking, upToDate, available };
    Q_ENUM(Kind)

    Kind kind = Kind::idle;
    double fraction = 0;
    QUrl file;
    QString message;

    static UpdateStatus downloading(double fraction) { return {Kind::downloading, fraction, {}, {}}; }
    // How much of the download is shown as done: 0 to 1, and 0 for a
    // reading that is not a number.
    double shownFraction() const { return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0; }
    static UpdateStatus ready(const QUrl &file) { return {Kind::ready, 0, file, {}}; }
    static UpdateStatus failed(const QString &message) { return {Kind::failed, 0, {}, message}; }
    static UpdateStatus idle() { return {}; }
    static UpdateStatus checking() { return {Kind::checking, 0, {}, {}}; }
    static UpdateStatus upToDate() { return {Kind::upToDate, 0, {}, {}}; }
    static UpdateStatus available() { return {Kind::available, 0, {}, {}}; }

    bool is(Kind k) const { return kind == k; }
    bool operator==(const UpdateStatus &) const = default;
};

// A newer build offered by the update host.
struct UpdateManifest {
    Q_GADGET
    QML_VALUE_TYPE(updateManifest)
    Q_PROPERTY(QString version MEMBER version)
    Q_PROPERTY(qint64 build MEMBER build)
    Q_PROPERTY(QUrl url MEMBER url)
    Q_PROPERTY(QString sha256 MEMBER sha256)
    Q_PROPERTY(QString notes MEMBER notes)
public:
    QString version;
    qint64 build = 0;
    // Always https on one of the update host's names.
    QUrl url;
    // 64 lower-case hexadecimal digits.
    QString sha256;
    QString notes;

    bool operator==(const UpdateManifest &) const = default;
};

enum class ManifestError {
    // Not JSON at all.
    syntax,
    // Not an object, no version, or a digest that is not 64 hex digits.
    cannotParseResponse,
    // The image address is not https on an allowed host.
    unsupportedURL,
};

// Validates a manifest body. allowedHosts are lower-case host names.
std::variant<UpdateManifest, ManifestError> parseManifest(const QByteArray &body, const QSet<QString> &allowedHosts);
// An optional sign and decimal digits only, within the 64-bit range.
std::optional<qint64> parseSignedDecimal(const QString &text);
// -1, 0 or 1: dotted versions compared piece by piece; pieces that are not
// integers are left out and missing ones count as 0.
int compareVersions(const QString &a, const QString &b);
// Whether a reply body is a web page rather than a manifest.
bool looksLikeHTML(const QByteArray &body);
