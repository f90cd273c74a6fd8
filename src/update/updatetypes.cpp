#include "update/updatetypes.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <limits>

std::optional<qint64> parseSignedDecimal(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate towards the negative side, which holds one more value.
    qint64 value = 0;
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        const int digit = c.unicode() - '0';
        if (value < (min + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == min)
            return std::nullopt;
        value = -value;
    }
    return value;
}

int compareVersions(const QString &a, const QString &b)
{
    const auto pieces = [](const QString &text) {
        QList<qint64> numbers;
        for (const QString &piece : text.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
            if (const auto n = parseSignedDecimal(piece))
                numbers.append(*n);
        }
        return numbers;
    };
    const QList<qint64> left = pieces(a);
    const QList<qint64> right = pieces(b);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const qint64 x = left.value(i, 0);
        const qint64 y = right.value(i, 0);
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

bool looksLikeHTML(const QByteArray &body)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString head = decoder.decode(body.left(80));
    if (decoder.hasError())
        return false;
    const QString text = head.trimmed().toLower();
    return text.startsWith(QLatin1String("<!doctype")) || text.startsWith(QLatin1String("<html"));
}

std::variant<UpdateManifest, ManifestError> parseManifest(const QByteArray &body, const QSet<QString> &allowedHosts)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return ManifestError::syntax;
    if (!doc.isObject())
        return ManifestError::cannotParseResponse;
    const QJsonObject o = doc.object();

    UpdateManifest manifest;
    manifest.version = o.value(QLatin1String("version")).toString().trimmed();
    if (manifest.version.isEmpty())
        return ManifestError::cannotParseResponse;

    const QJsonValue build = o.value(QLatin1String("build"));
    if (build.isDouble() && build.toVariant().typeId() == QMetaType::LongLong)
        manifest.build = build.toInteger();
    else if (build.isString())
        manifest.build = parseSignedDecimal(build.toString()).value_or(0);

    const QUrl url(o.value(QLatin1String("url")).toString().trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().toLower() != QLatin1String("https") || url.host().isEmpty()
        || !allowedHosts.contains(url.host().toLower()))
        return ManifestError::unsupportedURL;
    manifest.url = url;

    manifest.notes = o.value(QLatin1String("notes")).toString().trimmed();

    const QString digest = o.value(QLatin1String("sha256")).toString().trimmed().toLower();
    if (digest.size() != 64)
        return ManifestError::cannotParseResponse;
    for (const QChar c : digest) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return ManifestError::cannotParseResponse;
    }
    manifest.sha256 = digest;
    return manifest;
}
