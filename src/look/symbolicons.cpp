#include "look/symbolicons.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QUrlQuery>

namespace {
const QString providerName = QStringLiteral("pavletsymbol");

const QString folder = QStringLiteral(":/qt/qml/Pavlet/src/look/symbols");

// Every SVG in the symbols folder, named by its symbol: "speaker.wave.2.fill.svg".
const QStringList &symbolNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const QString &file : QDir(folder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name))
            list.append(file.chopped(4));
        return list;
    }();
    return names;
}

// Ids look like "speaker.wave.2.fill?c=ff78ccfa" (alpha, red, green, blue).
class SymbolProvider : public QQuickImageProvider {
public:
    SymbolProvider()
        : QQuickImageProvider(QQuickImageProvider::Image)
    {
    }

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override
    {
        const qsizetype mark = id.indexOf(QLatin1Char('?'));
        const QString name = mark < 0 ? id : id.left(mark);
        QColor color(Qt::white);
        if (mark >= 0) {
            const QUrlQuery query(id.mid(mark + 1));
            const QColor asked(QLatin1Char('#') + query.queryItemValue(QStringLiteral("c")));
            if (asked.isValid())
                color = asked;
        }
        const QSize want = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(48, 48);
        QImage image = SymbolIcons::render(name, color, want);
        if (image.isNull()) {
            image = QImage(want, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
        }
        if (size)
            *size = image.size();
        return image;
    }
};
} // namespace

SymbolIcons::SymbolIcons(QQmlEngine *engine)
{
    install(engine);
}

SymbolIcons *SymbolIcons::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return new SymbolIcons(qmlEngine);
}

void SymbolIcons::install(QQmlEngine *engine)
{
    if (engine && !engine->imageProvider(providerName))
        engine->addImageProvider(providerName, new SymbolProvider);
}

QStringList SymbolIcons::names()
{
    return symbolNames();
}

QUrl SymbolIcons::url(const QString &name)
{
    if (!symbolNames().contains(name))
        return {};
    return QUrl(QStringLiteral("qrc") + folder + QLatin1Char('/') + name + QStringLiteral(".svg"));
}

QImage SymbolIcons::render(const QString &name, const QColor &color, const QSize &size)
{
    const QUrl svg = url(name);
    if (svg.isEmpty())
        return {};
    QFile file(QLatin1Char(':') + svg.path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file, "svg");
    reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The drawings are white; keep their shape and take the colour.
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

QString SymbolIcons::meaning(const QString &name)
{
    static const QHash<QString, QString> words{
        {QStringLiteral("play.fill"), QStringLiteral("Play")},
        {QStringLiteral("pause.fill"), QStringLiteral("Pause")},
        {QStringLiteral("stop.fill"), QStringLiteral("Stop")},
        {QStringLiteral("backward.end.fill"), QStringLiteral("Previous")},
        {QStringLiteral("forward.end.fill"), QStringLiteral("Next")},
        {QStringLiteral("arrow.counterclockwise"), QStringLiteral("Reset")},
        {QStringLiteral("record.circle.fill"), QStringLiteral("Record")},
        {QStringLiteral("mic.fill"), QStringLiteral("Record")},
        {QStringLiteral("chevron.left"), QStringLiteral("Back")},
        {QStringLiteral("xmark"), QStringLiteral("Close")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("Delete")},
        {QStringLiteral("minus.circle.fill"), QStringLiteral("Remove")},
        {QStringLiteral("plus"), QStringLiteral("Add")},
        {QStringLiteral("minus"), QStringLiteral("Less")},
        {QStringLiteral("gearshape.fill"), QStringLiteral("Settings")},
        {QStringLiteral("gearshape"), QStringLiteral("Settings")},
        {QStringLiteral("line.3.horizontal"), QStringLiteral("Menu")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("Copy")},
        {QStringLiteral("delete.backward"), QStringLiteral("Delete")},
        {QStringLiteral("star"), QStringLiteral("Favorite")},
        {QStringLiteral("star.fill"), QStringLiteral("Unfavorite")},
        {QStringLiteral("arrow.left.arrow.right"), QStringLiteral("Swap")},
        {QStringLiteral("square.and.arrow.down"), QStringLiteral("Save")},
        {QStringLiteral("folder.fill"), QStringLiteral("Show in folder")},
        {QStringLiteral("speaker.slash.fill"), QStringLiteral("Volume")},
        {QStringLiteral("speaker.wave.1.fill"), QStringLiteral("Volume")},
        {QStringLiteral("speaker.wave.2.fill"), QStringLiteral("Volume")},
        {QStringLiteral("speaker.wave.3.fill"), QStringLiteral("Volume")},
        {QStringLiteral("sun.max.fill"), QStringLiteral("Brightness")},
    };
    return words.value(name);
}

QUrl SymbolIcons::source(const QString &name, const QColor &color) const
{
    if (!symbolNames().contains(name))
        return {};
    return QUrl(QStringLiteral("image://%1/%2?c=%3")
                    .arg(providerName, name, color.name(QColor::HexArgb).mid(1)));
}
