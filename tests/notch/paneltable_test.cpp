#include "support/panelviewtest.h"

#include "fakes/fakeclipboard.h"
#include "tools/pocketstore.h"

#include <gtest/gtest.h>

// The program's table of panels answers each panel's requests through the
// island's model: the way back, the pointer resting on the panel, and the
// panel's own request.
class PanelTableTest : public PanelViewTest {};

TEST_F(PanelTableTest, EveryPanelsRequestsReachTheModel)
{
    struct Case {
        const char *file;
        NotchState state;
        const char *back;
        NotchState after;
    };
    const Case cases[] = {
        {"canvas/CanvasPanel.qml", NotchState::canvas, "homeRequested", NotchState::home},
        {"tools/CalculatorPanel.qml", NotchState::calculator, "homeRequested", NotchState::home},
        {"tools/PocketPanel.qml", NotchState::pocket, "homeRequested", NotchState::home},
        {"media/VoiceMemosPanel.qml", NotchState::voice, "homeRequested", NotchState::home},
        {"tools/TranslatorPanel.qml", NotchState::translator, "homeRequested", NotchState::home},
        {"update/UpdatePanel.qml", NotchState::update, "dismissed", NotchState::collapsed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        QQuickItem *panel = open(QString::fromLatin1(c.file));
        ASSERT_TRUE(panel);

        // A close the pointer's leaving started is void once it rests on
        // the panel.
        model->setState(NotchState::hover);
        model->pointerExited();
        ASSERT_EQ(model->pendingHover(), PendingHover::exit);
        QMetaObject::invokeMethod(panel, "pointerEntered");
        EXPECT_EQ(model->pendingHover(), PendingHover::none);

        model->setState(c.state);
        QMetaObject::invokeMethod(panel, c.back);
        EXPECT_EQ(model->state(), c.after);
        view.reset();
        model->collapse();
    }

    // The pocket's "Clipboard" holds the clipboard and shows the pocket.
    fakes->clipboard.setText(QStringLiteral("hello"));
    QQuickItem *pocket = open(QStringLiteral("tools/PocketPanel.qml"));
    ASSERT_TRUE(pocket);
    QMetaObject::invokeMethod(pocket, "clipboardHeld");
    EXPECT_EQ(model->pocket()->items().size(), 1);
    EXPECT_EQ(model->state(), NotchState::pocket);
}
