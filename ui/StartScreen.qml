pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// The main area while no folder is loaded: a click anywhere or "Select folder" opens the
// chooser, and a folder dropped anywhere on it is loaded.
Item {
    id: start

    required property PhotoViewModel viewModel

    MouseArea {
        anchors.fill: parent
        onClicked: start.viewModel.selectFolder()
    }

    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        // Copy, never move: the source must not delete what was dragged.
        onEntered: drag => drag.accept(Qt.CopyAction)
        onDropped: drop => {
            start.viewModel.handleDrop(drop.urls);
            drop.accept(Qt.CopyAction);
        }
    }

    DropZoneOutline {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        color: Theme.withOpacity(Theme.secondary, 0.5)
    }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 12

        SymbolIcon {
            source: Qt.resolvedUrl("icons/photo.on.rectangle.svg")
            color: Theme.secondary
            Layout.preferredWidth: 56
            Layout.preferredHeight: 48
            Layout.alignment: Qt.AlignHCenter
        }

        Label {
            text: qsTr("Drag or select the folder with images")
            font: Theme.body
            color: Theme.secondary
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.alignment: Qt.AlignHCenter
        }

        Button {
            objectName: "selectFolderButton"
            text: qsTr("Select folder")
            focusPolicy: Qt.NoFocus
            font: Theme.body
            Layout.topMargin: 4
            Layout.alignment: Qt.AlignHCenter
            Accessible.role: Accessible.Button
            Accessible.name: text
            Accessible.onPressAction: start.viewModel.selectFolder()
            onClicked: start.viewModel.selectFolder()
        }

        CheckBox {
            objectName: "companionsCheckBox"
            text: qsTr("Include RAW files: show RAW-only shots, move RAW and sidecar files with their photos")
            checked: start.viewModel.movesCompanions
            focusPolicy: Qt.NoFocus
            font: Theme.body
            Layout.alignment: Qt.AlignHCenter
            Accessible.role: Accessible.CheckBox
            Accessible.name: text
            onToggled: start.viewModel.movesCompanions = checked
        }
    }
}
