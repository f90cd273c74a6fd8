#include "services/clipboardstore.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

// The user-perceived characters of a text.
QStringList graphemes(const QString &text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        if (end > start)
            out.append(text.mid(start, end - start));
        start = end;
    }
    return out;
}

// A character's properties are those of its first code point.
char32_t firstCodePoint(const QString &grapheme)
{
    const auto ucs4 = grapheme.toUcs4();
    return ucs4.isEmpty() ? 0 : ucs4.front();
}

} // namespace

QString ClipboardItem::makePreview(const QString &text)
{
    // Only the start of the text is looked at: a copy may run to megabytes,
    // and the preview shows 52 characters of it. A character may carry any
    // number of marks; when the first 52 do not fit in PreviewScan code
    // units, the whole ones that do are shown.
    const QStringView trimmed = QStringView(text).trimmed();
    const bool cut = trimmed.size() > PreviewScan;
    QString line = trimmed.left(PreviewScan).toString();
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    // The end of the last whole character within the first 52.
    qsizetype kept = 0;
    int count = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype at = finder.position();
        // The scan's own end may fall inside a character.
        if (cut && at == line.size())
            break;
        if (++count <= 52)
            kept = at;
    }
    if (count >= 53 || cut)
        return line.left(kept) + QStringLiteral("…");
    return line;
}

ClipboardItem ClipboardItem::make(const QString &text)
{
    return ClipboardItem{QUuid::createUuid(), text, makePreview(text)};
}

void ClipboardHistory::add(const QString &text)
{
    const auto found = std::find_if(items.cbegin(), items.cend(), [&](const auto &i) { return i.text == text; });
    const ClipboardItem item = found != items.cend() ? *found : ClipboardItem::make(text);
    items.removeIf([&](const ClipboardItem &i) { return i.text == text; });
    items.prepend(item);
    if (items.size() > Capacity)
        items.resize(Capacity);
}

QHash<int, QByteArray> ClipboardItem::roles()
{
    return {{IdRole, "itemId"}, {TextRole, "text"}, {PreviewRole, "preview"}};
}

QVariant ClipboardItem::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case TextRole: return text;
    case PreviewRole: return preview;
    default: return {};
    }
}

ClipboardStore::ClipboardStore(platform::IClipboard *clipboard, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard)
    , m_items(new ClipboardItemsModel(this))
{
}

ClipboardStore::~ClipboardStore() = default;

ClipboardHistory ClipboardStore::poll()
{
    const int count = m_clipboard->changeCount();
    if (count == lastChangeCount)
        return m_history;
    lastChangeCount = count;
    // Kept as copied, white space and all: picking it gives back the same
    // bytes. Only the preview and the checks read it trimmed.
    const QString text = m_clipboard->text().value_or(QString());
    m_history.newestTooLarge = m_clipboard->textTooLarge();
    if (!QStringView(text).trimmed().isEmpty() && !looksSecret(text)) {
        m_history.add(text);
        m_items->sync(std::vector<ClipboardItem>(m_history.items.begin(), m_history.items.end()));
    }
    return m_history;
}

ClipboardHistory ClipboardStore::copyBack(const QString &text)
{
    m_clipboard->setText(text);
    lastChangeCount = m_clipboard->changeCount();
    m_history.newestTooLarge = false;
    m_history.add(text);
    m_items->sync(std::vector<ClipboardItem>(m_history.items.begin(), m_history.items.end()));
    return m_history;
}

ClipboardHistory ClipboardStore::skipOwnCopy()
{
    lastChangeCount = m_clipboard->changeCount();
    m_history.newestTooLarge = false;
    return m_history;
}

bool ClipboardStore::looksSecret(const QString &input)
{
    // Read no further than a secret can reach: a copy may run to megabytes.
    const QStringView text = QStringView(input).trimmed();
    if (text.startsWith(QLatin1String("Bearer ")))
        return true;
    static const QRegularExpression keyPrefix(QStringLiteral("^(sk-|ghp_|gho_|xox[pbas]-)"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (keyPrefix.match(text.left(8).toString()).hasMatch())
        return true;
    if (text.size() > MaxSecretLength)
        return false;
    const QString lower = text.toString().toLower();
    if (lower.contains(QLatin1String("canvas")) && lower.contains(QLatin1String("token")))
        return true;

    const QStringList chars = graphemes(text.toString());
    const auto count = chars.size();
    if (count >= 32) {
        const bool tokenLike = std::all_of(chars.begin(), chars.end(), [](const QString &c) {
            const char32_t cp = firstCodePoint(c);
            return QChar::isLetter(cp) || QChar::isNumber(cp) || cp == U'-' || cp == U'_' || cp == U'.';
        });
        if (tokenLike)
            return true;
    }
    if (count >= 14 && count <= 20) {
        bool upper = false, lower = false, digit = false;
        for (const QString &c : chars) {
            const char32_t cp = firstCodePoint(c);
            if (QChar::isSpace(cp))
                return false;
            upper = upper || QChar::isUpper(cp);
            lower = lower || QChar::isLower(cp);
            digit = digit || QChar::isNumber(cp);
        }
        return upper && lower && digit;
    }
    return false;
}
