#include "look/paragraphdirections.h"

#include <QAbstractTextDocumentLayout>
#include <QQuickTextDocument>
#include <QTextDocument>
#include <QTextOption>

ParagraphDirections::ParagraphDirections(QObject *parent)
    : QObject(parent)
{
}

void ParagraphDirections::setEditor(QQuickItem *editor)
{
    if (editor == m_editor)
        return;
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (editor) {
        connect(editor, SIGNAL(textChanged()), this, SLOT(apply()));
        connect(editor, SIGNAL(effectiveHorizontalAlignmentChanged()), this, SLOT(apply()));
        // The editor sets the direction again as it completes and on
        // changes of its size or font; each is followed by a new layout.
        // Queued: the layout is not changed again from inside itself.
        auto *quickDocument = editor->property("textDocument").value<QQuickTextDocument *>();
        if (QTextDocument *document = quickDocument ? quickDocument->textDocument() : nullptr) {
            connect(document->documentLayout(), &QAbstractTextDocumentLayout::update, this,
                    &ParagraphDirections::apply, Qt::QueuedConnection);
        }
    }
    emit editorChanged();
    apply();
}

void ParagraphDirections::apply()
{
    if (!m_editor)
        return;
    auto *quickDocument = m_editor->property("textDocument").value<QQuickTextDocument *>();
    QTextDocument *document = quickDocument ? quickDocument->textDocument() : nullptr;
    if (!document)
        return;
    // With no direction of its own, each paragraph takes the one of its
    // first strong character, and its natural start follows.
    QTextOption option = document->defaultTextOption();
    if (option.textDirection() == Qt::LayoutDirectionAuto)
        return;
    option.setTextDirection(Qt::LayoutDirectionAuto);
    document->setDefaultTextOption(option);
}
