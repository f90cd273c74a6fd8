#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Lays each paragraph of a text editor (a TextEdit or TextArea) out in its
// own direction: a right-to-left paragraph starts at the right even when the
// text's first paragraph runs left to right, and the other way round. Left
// alone, the editor gives every paragraph the direction of its first one.
class ParagraphDirections : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *editor READ editor WRITE setEditor NOTIFY editorChanged)

public:
    explicit ParagraphDirections(QObject *parent = nullptr);

    QQuickItem *editor() const { return m_editor; }
    void setEditor(QQuickItem *editor);

signals:
    void editorChanged();

private slots:
    // The editor sets its document's direction after every change of the
    // text; this runs after it.
    void apply();

private:
    QPointer<QQuickItem> m_editor;
};
