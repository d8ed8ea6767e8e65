pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// Back, the current file name, the switch for the shooting facts, and Undo.
Item {
    id: header

    required property PhotoViewModel viewModel

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
            // The file name is shown as it is: never translated, never read as markup.
            text: header.viewModel.currentFileName !== "" ? header.viewModel.currentFileName : qsTr("Vesko")
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            font: Theme.headline
            color: Theme.secondary
            Layout.minimumWidth: 0
            Layout.preferredWidth: implicitWidth
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Accessible.description: header.viewModel.companions
        }

        Label {
            objectName: "companions"
            // The RAW and sidecar files that move with the photo, by extension.
            text: header.viewModel.companions
            visible: text !== ""
            textFormat: Text.PlainText
            font: Theme.caption
            color: Theme.withOpacity(Theme.primary, 0.35)
            Accessible.ignored: true
        }

        Item {
            Layout.fillWidth: true
        }

        InfoButton {
            objectName: "infoButton"
            viewModel: header.viewModel
        }

        NavigationButton {
            objectName: "undoButton"
            text: qsTr("Undo")
            iconSource: "icons/return.svg"
            iconFirst: false
            enabled: header.viewModel.canUndo
            onClicked: header.viewModel.undoLast()
        }
    }
}
