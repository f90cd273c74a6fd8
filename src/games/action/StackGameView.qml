import QtQuick
import Pavlet

// The game's page. Until its screen is drawn it only keeps the engine's
// lifecycle: picking up a run left mid-play when shown, stopping when gone.
Item {
    id: root
    required property StackEngine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()
    Component.onCompleted: if (shown) engine.resume()
}
