#pragma once

#include "update/updatetypes.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// What the update prompt says and offers for the service's state.
struct UpdatePanelTexts {
    Q_GADGET
    QML_VALUE_TYPE(updatePanelTexts)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString subtitle MEMBER subtitle CONSTANT)
    Q_PROPERTY(QString detail MEMBER detail CONSTANT)
    Q_PROPERTY(QString primaryTitle MEMBER primaryTitle CONSTANT)
    Q_PROPERTY(bool primaryEnabled MEMBER primaryEnabled CONSTANT)
    Q_PROPERTY(bool showsProgress MEMBER showsProgress CONSTANT)
    Q_PROPERTY(double progress MEMBER progress CONSTANT)
public:
    QString title;
    QString subtitle;
    // Empty: no detail line.
    QString detail;
    QString primaryTitle;
    bool primaryEnabled = true;
    bool showsProgress = false;
    double progress = 0;

    // host: the maker's web address named in the subtitle.
    static UpdatePanelTexts make(const UpdateStatus &status, const std::optional<UpdateManifest> &latest,
                                 const QString &currentVersion, const QString &host);
    bool operator==(const UpdatePanelTexts &) const = default;
};

class UpdateService;

// The texts for the view, as the QML singleton UpdateViews.
class UpdateViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    // The service's fields are passed in so that a binding follows them.
    Q_INVOKABLE UpdatePanelTexts texts(UpdateService *service, const UpdateStatus &status,
                                       const UpdateManifest &latest, bool hasLatest) const;
};
