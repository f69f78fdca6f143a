/*
 * Vorelt's clock in Plasma's panel. The clock publishes its item in the panel's tray; this applet
 * reads the item's title through Plasma's statusnotifieritem data engine and shows it as text.
 * A click is the item's Activate, at the applet. While it shows the item, the applet tells the
 * clock so every two seconds, with where it is: the clock then puts up no bar of its own and
 * keeps its tray icon in the tray's hidden part. No compiled plugin: Plasma 5.27's own engines.
 */
import QtQuick 2.15
import QtQuick.Controls 2.15 as QQC2
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import org.kde.plasma.plasmoid 2.0
import org.kde.plasma.core 2.0 as PlasmaCore
import org.kde.plasma.components 3.0 as PlasmaComponents3

Item {
    id: root

    // The Id that the clock's tray item publishes.
    readonly property string itemId: "io.github.vorelt.Vorelt"
    readonly property string source: {
        const sources = items.sources;
        for (let i = 0; i < sources.length; ++i) {
            const data = items.data[sources[i]];
            if (data && data.Id === itemId) {
                return sources[i];
            }
        }
        return "";
    }
    readonly property bool running: source !== ""
    // Plasma's tray shows an item's icon only: the clock keeps its title in the item's tool tip.
    readonly property string title: running ? (items.data[source].ToolTipTitle || "") : ""
    readonly property bool vertical: Plasmoid.formFactor === PlasmaCore.Types.Vertical

    Plasmoid.preferredRepresentation: Plasmoid.fullRepresentation
    Plasmoid.backgroundHints: PlasmaCore.Types.NoBackground
    // The text is all there is to say.
    Plasmoid.toolTipMainText: ""
    Plasmoid.toolTipSubText: ""

    // Room to click even for an empty title.
    Layout.minimumWidth: vertical ? PlasmaCore.Units.gridUnit
                                  : Math.max(PlasmaCore.Units.gridUnit, content.implicitWidth)
    Layout.preferredWidth: Layout.minimumWidth
    Layout.minimumHeight: vertical ? Math.max(PlasmaCore.Units.gridUnit, content.implicitHeight)
                                   : PlasmaCore.Units.gridUnit
    Layout.preferredHeight: Layout.minimumHeight

    PlasmaCore.DataSource {
        id: items
        engine: "statusnotifieritem"
        connectedSources: sources
    }

    // Starts the clock, detached: the engine would end a program still running when it is
    // disconnected.
    PlasmaCore.DataSource {
        id: programs
        engine: "executable"
        onNewData: disconnectSource(sourceName)
    }

    function call(operation, parameters) {
        const service = items.serviceForSource(source);
        const description = service.operationDescription(operation);
        for (const key in parameters) {
            description[key] = parameters[key];
        }
        service.startOperationCall(description);
    }

    // The panel's edge, for the clock to open its popover away from it.
    function edge() {
        switch (Plasmoid.location) {
        case PlasmaCore.Types.TopEdge: return "top";
        case PlasmaCore.Types.BottomEdge: return "bottom";
        case PlasmaCore.Types.LeftEdge: return "left";
        case PlasmaCore.Types.RightEdge: return "right";
        default: return "none";
        }
    }

    // The clock reads a scroll of no distance with this orientation as the applet's report: the
    // panel's edge and the applet's frame on screen, across the whole panel, so that the popover
    // opens at the panel's edge.
    function report() {
        const panel = root.Window.window;
        if (!running || !panel) {
            return;
        }
        const at = root.mapToGlobal(0, 0);
        const side = edge();
        let frame = [at.x, at.y, root.width, root.height];
        if (side === "top" || side === "bottom") {
            frame = [at.x, panel.y, root.width, panel.height];
        } else if (side === "left" || side === "right") {
            frame = [panel.x, at.y, panel.width, root.height];
        }
        call("Scroll", {
            delta: 0,
            direction: ["vorelt-applet", side].concat(frame.map(Math.round)).join(" ")
        });
    }

    Timer {
        interval: 2000
        repeat: true
        triggeredOnStart: true
        running: root.running
        onTriggered: root.report()
    }

    GridLayout {
        id: content
        anchors.fill: parent
        flow: root.vertical ? GridLayout.TopToBottom : GridLayout.LeftToRight
        rowSpacing: 0
        columnSpacing: PlasmaCore.Units.smallSpacing

        // In a vertical panel each word on a line of its own, as large as the panel's width
        // allows.
        PlasmaComponents3.Label {
            id: label
            readonly property string shown: root.running ? root.title
                                                         : i18n("Vorelt is not running")
            Layout.fillWidth: root.vertical
            Layout.fillHeight: !root.vertical
            Layout.leftMargin: root.vertical ? 0 : PlasmaCore.Units.smallSpacing
            Layout.rightMargin: Layout.leftMargin
            Layout.preferredHeight: root.vertical ? contentHeight : -1
            text: root.vertical ? shown.trim().split(/ +/).join("\n") : shown
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            fontSizeMode: root.vertical ? Text.HorizontalFit : Text.FixedSize
            minimumPointSize: 1
        }

        PlasmaComponents3.ToolButton {
            visible: !root.running
            Layout.alignment: Qt.AlignCenter
            icon.name: "media-playback-start"
            text: i18n("Start Vorelt")
            display: root.vertical ? QQC2.AbstractButton.IconOnly
                                   : QQC2.AbstractButton.TextBesideIcon
            QQC2.ToolTip.text: text
            QQC2.ToolTip.visible: root.vertical && hovered
            onClicked: programs.connectSource("vorelt >/dev/null 2>&1 &")
        }
    }

    MouseArea {
        anchors.fill: parent
        enabled: root.running
        onClicked: {
            root.report();
            const middle = root.mapToGlobal(root.width / 2, root.height / 2);
            root.call("Activate", {x: Math.round(middle.x), y: Math.round(middle.y)});
        }
    }
}
