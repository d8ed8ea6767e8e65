pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Vesko.Ui

// Every key of the window, opened by ? or F1; any key or click closes it.
Popup {
    id: overview

    readonly property var keys: [
        [qsTr("Return"), qsTr("Yes: move into “Selected”")],
        [qsTr("Backspace, Delete"), qsTr("No: move into “Discarded”")],
        [qsTr("Space"), qsTr("Maybe: show again after the others")],
        [qsTr("Ctrl+Z"), qsTr("Undo the last answer")],
        [qsTr("Z, or a click on the photo"), qsTr("Actual size, and back")],
        [qsTr("I"), qsTr("Shooting facts on or off")],
        [qsTr("C"), qsTr("Compare the burst side by side, and back")],
        [qsTr("←, →, 1–4, or a click"), qsTr("Choose the photo to answer in the comparison")],
        [qsTr("Shift+drag"), qsTr("Pan only the photo under the pointer")],
        [qsTr("F11, F"), qsTr("Full screen, and back")],
        [qsTr("Escape"), qsTr("Fitted photo; then leave the comparison, or full screen")],
        [qsTr("?, F1"), qsTr("This overview")]
    ]

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    modal: true
    dim: true
    focus: true
    padding: 20
    closePolicy: Popup.CloseOnPressOutside

    contentItem: Item {
        implicitWidth: column.implicitWidth
        implicitHeight: column.implicitHeight
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: qsTr("Keys")
        Keys.onPressed: event => {
            event.accepted = true;
            overview.close();
        }

        TapHandler {
            onTapped: overview.close()
        }

        ColumnLayout {
            id: column

            anchors.fill: parent
            spacing: 12

            Label {
                text: qsTr("Keys")
                font: Theme.title3
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            GridLayout {
                columns: 2
                columnSpacing: 24
                rowSpacing: 6

                Repeater {
                    model: overview.keys.length * 2

                    Label {
                        required property int index

                        readonly property var entry: overview.keys[Math.floor(index / 2)]

                        text: entry[index % 2]
                        font: index % 2 === 0 ? Theme.headline : Theme.body
                        Accessible.role: Accessible.StaticText
                        Accessible.name: index % 2 === 0 ? text + ": " + entry[1] : text
                        Accessible.ignored: index % 2 === 1
                    }
                }
            }

            Label {
                text: qsTr("Press any key or click to close.")
                font: Theme.caption
                color: Theme.secondary
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
