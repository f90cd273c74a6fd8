#pragma once

#include "update/updatetypes.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class UpdateService;

// What the settings window's update card shows for one state of the update
// service.
struct UpdateCardState {
    Q_GADGET
    Q_PROPERTY(QString statusLine MEMBER statusLine CONSTANT)
    Q_PROPERTY(QString primaryTitle MEMBER primaryTitle CONSTANT)
    Q_PROPERTY(bool laterVisible MEMBER laterVisible CONSTANT)
    Q_PROPERTY(bool mainEnabled MEMBER mainEnabled CONSTANT)
    Q_PROPERTY(bool showsProgress MEMBER showsProgress CONSTANT)
    Q_PROPERTY(double fraction MEMBER fraction CONSTANT)
public:
    QString statusLine;
    QString primaryTitle;
    bool laterVisible = false;
    bool mainEnabled = true;
    bool showsProgress = false;
    double fraction = 0;

    bool operator==(const UpdateCardState &) const = default;

    static UpdateCardState make(const UpdateStatus &status, const std::optional<UpdateManifest> &latest,
                                const QString &host);
};

// The update card's face of the update service: its state, and the two
// buttons' actions. The card never starts a check of its own.
class UpdateCardModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(UpdateCardState state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString versionText READ versionText CONSTANT)
    Q_PROPERTY(QString footerText READ footerText CONSTANT)
public:
    explicit UpdateCardModel(UpdateService *updater, QObject *parent = nullptr);

    UpdateCardState state() const { return m_state; }
    // "v" and the running version.
    QString versionText() const;
    // "Version " and the program's version ("0.1" when it has none).
    QString footerText() const { return footerText(QCoreApplication::applicationVersion()); }
    static QString footerText(const QString &applicationVersion);

    // The main button: download, open, check or retry, as the service decides.
    Q_INVOKABLE void runMain();
    // "Later".
    Q_INVOKABLE void later();

signals:
    void stateChanged();

private:
    void refresh();

    QPointer<UpdateService> m_updater;
    UpdateCardState m_state;
};
