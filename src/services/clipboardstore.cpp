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
    QString line = text.trimmed();
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QStringList chars = graphemes(line);
    if (chars.size() >= 53)
        return chars.mid(0, 52).join(QString()) + QStringLiteral("…");
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
    if (!text.trimmed().isEmpty() && !looksSecret(text)) {
        m_history.add(text);
        m_items->sync(std::vector<ClipboardItem>(m_history.items.begin(), m_history.items.end()));
    }
    return m_history;
}

ClipboardHistory ClipboardStore::copyBack(const QString &text)
{
    m_clipboard->setText(text);
    lastChangeCount = m_clipboard->changeCount();
    m_history.add(text);
    m_items->sync(std::vector<ClipboardItem>(m_history.items.begin(), m_history.items.end()));
    return m_history;
}

bool ClipboardStore::looksSecret(const QString &input)
{
    const QString text = input.trimmed();
    if (text.startsWith(QLatin1String("Bearer ")))
        return true;
    const QString lower = text.toLower();
    if (lower.contains(QLatin1String("canvas")) && lower.contains(QLatin1String("token")))
        return true;
    static const QRegularExpression keyPrefix(QStringLiteral("^(sk-|ghp_|gho_|xox[pbas]-)"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (keyPrefix.match(text).hasMatch())
        return true;

    const QStringList chars = graphemes(text);
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
