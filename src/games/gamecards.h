#pragma once

#include "games/gameregistry.h"

#include <QAbstractListModel>
#include <QQmlListProperty>
#include <QList>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The arcade's game cards, one per game of the registry, in page order
// (page 1 is the first game; page 0 is the arcade itself). Titles, details,
// record captions and accent colours are fixed; each card's record follows
// its engine's published field and is updated in place.
class GameCards : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    // The games' engines in page order, the first game's first; a QML list,
    // so a view can hand on the list it was given.
    Q_PROPERTY(QQmlListProperty<QObject> engines READ engineList NOTIFY enginesChanged)
public:
    enum Role {
        GameRole = Qt::UserRole + 1, // the page the card opens
        TitleRole,
        DetailRole,
        // The palette colour of the record column ("yellow", "coral", ...).
        AccentNameRole,
        // True when the colour passes through the custom accent.
        ResolvesAccentRole,
        // The record's caption, in capitals as shown.
        BestLabelRole,
        // The record as shown; empty when the card shows no record column.
        RecordTextRole,
        // The picture on the card: a QML file below games/.
        MarkRole,
    };

    using Card = GameEntry;
    static const QList<Card> &table() { return GameRegistry::games(); }

    // What a card shows in its record column: the text when there is one,
    // else the number when it is at least 1, else nothing (no column).
    static QString recordText(qint64 best, const QString &bestText);

    explicit GameCards(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The engine of the card for page game.
    void setEngine(int game, QObject *engine);

    void setEngines(const QList<QObject *> &engines);
    QList<QObject *> engines() const;
    QQmlListProperty<QObject> engineList();

signals:
    void enginesChanged();

private slots:
    void onRecordChanged();

private:
    QString readRecord(int row) const;
    void refresh(int row);

    QList<QPointer<QObject>> m_engines;
    QList<QString> m_records;
    QList<QMetaObject::Connection> m_connections;
};
