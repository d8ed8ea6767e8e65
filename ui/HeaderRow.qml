pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// Back, the current file name, the switch for the shooting facts, and Undo.
Item {
    id: header

    required property PhotoViewModel viewModel

    // A name as one line: a line break shows as ↵, a tab as ⇥, any other control as �.
    function visibleName(name: string): string {
        return name.replace(/[\u0000-\u001f\u007f]/g, c => c === "\n" || c === "\r" ? "\u21b5" : c === "\t" ? "\u21e5" : "\ufffd");
    }

    implicitHeight: row.implicitHeight + 24

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 12
        anchors.bottomMargin: 12
        spacing: 8

        NavigationButton {
            id: backButton

            objectName: "backButton"
            text: qsTr("Back")
            iconSource: "icons/chevron.left.svg"
            iconFirst: true
            enabled: header.viewModel.folderName !== ""
            onClicked: header.viewModel.reset()
        }

        Item {
            Layout.fillWidth: true
        }

        Label {
            objectName: "title"
            // The file name is shown as it is: never translated, never read as markup. A long
            // one gives way in its middle, so that its start, its extension and the buttons
            // beside it stay in view.
            text: header.viewModel.currentFileName !== "" ? header.visibleName(header.viewModel.currentFileName) : qsTr("Vesko")
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            maximumLineCount: 1
            font: Theme.headline
            color: Theme.secondary
            Layout.minimumWidth: 0
            Layout.preferredWidth: implicitWidth
            Layout.maximumWidth: Math.max(0, row.width - backButton.width - infoButton.width - undoButton.width - 5 * row.spacing - (companions.visible ? companions.width + row.spacing : 0) - (burst.visible ? burst.width + row.spacing : 0))
            Accessible.role: Accessible.StaticText
            Accessible.name: header.viewModel.currentFileName !== "" ? header.viewModel.currentFileName : text
            Accessible.description: header.viewModel.companions
        }

        Label {
            id: companions

            objectName: "companions"
            // The RAW and sidecar files that move with the photo, by extension.
            text: header.viewModel.companions
            visible: text !== ""
            textFormat: Text.PlainText
            font: Theme.caption
            color: Theme.withOpacity(Theme.primary, 0.35)
            Accessible.ignored: true
        }

        Label {
            id: burst

            objectName: "burst"
            text: header.viewModel.burst
            visible: text !== ""
            textFormat: Text.PlainText
            font: Theme.caption
            color: Theme.secondary
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Item {
            Layout.fillWidth: true
        }

        InfoButton {
            id: infoButton

            objectName: "infoButton"
            viewModel: header.viewModel
        }

        NavigationButton {
            id: undoButton

            objectName: "undoButton"
            text: qsTr("Undo")
            iconSource: "icons/return.svg"
            iconFirst: false
            enabled: header.viewModel.canUndo
            onClicked: header.viewModel.undoLast()
        }
    }
}
