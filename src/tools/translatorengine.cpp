#include "tools/translatorengine.h"
#include "core/nocookies.h"

#include "platform/clipboard.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QVariantMap>

const QList<TranslatorEngine::Language> &TranslatorEngine::languages()
{
    static const QList<Language> table = {
        {QStringLiteral("en"), QStringLiteral("English")},   {QStringLiteral("es"), QStringLiteral("Spanish")},
        {QStringLiteral("fr"), QStringLiteral("French")},    {QStringLiteral("de"), QStringLiteral("German")},
        {QStringLiteral("it"), QStringLiteral("Italian")},   {QStringLiteral("pt"), QStringLiteral("Portuguese")},
        {QStringLiteral("ja"), QStringLiteral("Japanese")},  {QStringLiteral("ko"), QStringLiteral("Korean")},
        {QStringLiteral("zh-CN"), QStringLiteral("Chinese")}, {QStringLiteral("hi"), QStringLiteral("Hindi")},
        {QStringLiteral("ar"), QStringLiteral("Arabic")},
    };
    return table;
}

TranslatorEngine::TranslatorEngine(platform::IClipboard *clipboard, const QUrl &base, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_base(base)
{
    refuseCookies(m_network);
    connect(this, &TranslatorEngine::sourceChanged, this, &TranslatorEngine::labelsChanged);
    connect(this, &TranslatorEngine::targetChanged, this, &TranslatorEngine::labelsChanged);
    connect(this, &TranslatorEngine::detectedChanged, this, &TranslatorEngine::labelsChanged);
}

bool TranslatorEngine::canTranslate() const
{
    return !m_busy && !m_input.trimmed().isEmpty();
}

QString TranslatorEngine::languageName(const QString &code)
{
    if (code.isEmpty() || code == u"auto")
        return {};
    for (const Language &l : languages()) {
        if (l.id == code)
            return l.name;
    }
    return {};
}

QString TranslatorEngine::sourceLabel() const
{
    if (m_source == u"auto") {
        const QString name = languageName(m_detected);
        return name.isEmpty() ? QStringLiteral("Detect") : QStringLiteral("Detect \u00B7 ") + name;
    }
    const QString name = languageName(m_source);
    return name.isEmpty() ? m_source : name;
}

QString TranslatorEngine::targetLabel() const
{
    const QString name = languageName(m_target);
    return name.isEmpty() ? m_target : name;
}

QString TranslatorEngine::pairLabel() const
{
    QString left;
    if (m_source == u"auto") {
        left = languageName(m_detected);
        if (left.isEmpty())
            left = QStringLiteral("Detect");
    } else {
        left = languageName(m_source);
        if (left.isEmpty())
            left = m_source;
    }
    return left + QStringLiteral(" \u2192 ") + targetLabel();
}

QUrl TranslatorEngine::requestUrl(const QUrl &base, const QString &source, const QString &target, const QString &text)
{
    // Every value fully percent-encoded: a bare "+" would reach the server
    // as a space.
    auto encode = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    QUrl url = base.resolved(QUrl(QStringLiteral("/translate_a/single")));
    const QString query = QStringLiteral("client=gtx&sl=") + encode(source) + QStringLiteral("&tl=") + encode(target)
        + QStringLiteral("&dt=t&q=") + encode(text);
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

std::pair<std::optional<QString>, QString> TranslatorEngine::parseResponse(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return {std::nullopt, QString()};
    const QJsonArray top = doc.array();
    if (top.isEmpty() || !top.at(0).isArray())
        return {std::nullopt, QString()};
    QString text;
    for (const QJsonValue &segment : top.at(0).toArray()) {
        if (segment.isArray()) {
            const QJsonArray parts = segment.toArray();
            if (!parts.isEmpty() && parts.at(0).isString())
                text += parts.at(0).toString();
        }
    }
    const QString detected = top.size() >= 3 && top.at(2).isString() ? top.at(2).toString() : QString();
    return {text.isEmpty() ? std::nullopt : std::optional<QString>(text), detected};
}

void TranslatorEngine::translate()
{
    const QString text = m_input.trimmed();
    if (text.isEmpty()) {
        setStatus(QStringLiteral("Type something to translate"));
        return;
    }
    setBusy(true);
    setStatus(QStringLiteral("Translating\u2026"));

    const QUrl url = requestUrl(m_base, m_source, m_target, text);
    if (!url.isValid()) {
        setBusy(false);
        setStatus(QStringLiteral("Couldn't build that request"));
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply *reply = m_network.get(request);
    const quint64 id = ++m_latestRequest;
    connect(reply, &QNetworkReply::finished, this, [this, reply, id] {
        reply->deleteLater();
        // A newer request is out: its reply decides, and busy stays up until then.
        if (id != m_latestRequest)
            return;
        const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
        // An HTTP error status is a reply like any other; only a transfer
        // that brought no status is an error. (Qt files some statuses, 400
        // among them, under protocol error codes, so the code cannot decide.)
        const bool transportError = reply->error() != QNetworkReply::NoError
            && !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
        if (transportError) {
            setOutput(QString());
            setStatus(QStringLiteral("Couldn't reach Translate"));
            setBusy(false);
            return;
        }
        const auto [translation, code] = parseResponse(body);
        setOutput(translation.value_or(QStringLiteral("Couldn't read that")));
        setDetected(code);
        setStatus(QStringLiteral("Google Translate"));
        setBusy(false);
    });
}

void TranslatorEngine::clear()
{
    setInput(QString());
    setOutput(QString());
    setDetected(QString());
    setStatus(QStringLiteral("Google Translate"));
}

void TranslatorEngine::swapLanguages()
{
    const QString candidate = m_source == u"auto" ? m_detected : m_source;
    const QString oldInput = m_input;
    const QString oldOutput = m_output;
    setInput(oldOutput);
    setOutput(oldInput);
    if (!candidate.isEmpty() && candidate != u"auto") {
        const QString oldTarget = m_target;
        setSource(oldTarget);
        setTarget(candidate);
        setDetected(QString());
    }
}

void TranslatorEngine::pasteFromClipboard()
{
    using State = platform::IClipboard::ReadState;
    if (m_clipboard->readState() == State::reading) {
        m_clipboard->whenRead([self = QPointer<TranslatorEngine>(this)] {
            if (self)
                self->pasteFromClipboard();
        });
        return;
    }
    if (m_clipboard->readState() == State::failed) {
        setStatus(QStringLiteral("Couldn't read the clipboard"));
        return;
    }
    const QString text = m_clipboard->text().value_or(QString()).trimmed();
    if (text.size() > platform::IClipboard::PasteLimit) {
        setStatus(QStringLiteral("Clipboard text is too large"));
        return;
    }
    if (text.isEmpty()) {
        setStatus(m_clipboard->textTooLarge() ? QStringLiteral("Clipboard text is too large")
                                              : QStringLiteral("Clipboard is empty"));
        return;
    }
    setInput(text);
    setStatus(QStringLiteral("Pasted"));
}

void TranslatorEngine::copyOutput()
{
    const QString text = m_output.trimmed();
    if (text.isEmpty())
        return;
    m_clipboard->setText(text);
    setStatus(QStringLiteral("Copied"));
}

void TranslatorEngine::setInput(const QString &input)
{
    if (m_input != input) {
        const bool could = canTranslate();
        m_input = input;
        emit inputChanged();
        if (could != canTranslate())
            emit canTranslateChanged();
    }
}

void TranslatorEngine::setSource(const QString &source)
{
    if (m_source != source) {
        m_source = source;
        emit sourceChanged();
    }
}

void TranslatorEngine::setTarget(const QString &target)
{
    if (m_target != target) {
        m_target = target;
        emit targetChanged();
    }
}

void TranslatorEngine::setOutput(const QString &output)
{
    if (m_output != output) {
        m_output = output;
        emit outputChanged();
    }
}

void TranslatorEngine::setDetected(const QString &detected)
{
    if (m_detected != detected) {
        m_detected = detected;
        emit detectedChanged();
    }
}

void TranslatorEngine::setStatus(const QString &status)
{
    if (m_status != status) {
        m_status = status;
        emit statusChanged();
    }
}

void TranslatorEngine::setBusy(bool busy)
{
    if (m_busy != busy) {
        const bool could = canTranslate();
        m_busy = busy;
        emit busyChanged();
        if (could != canTranslate())
            emit canTranslateChanged();
    }
}
