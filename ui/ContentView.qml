pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// The window: header row, main area, decision row and progress area, top to bottom, and the
// completion alert over them.
ApplicationWindow {
    id: window

    required property PhotoViewModel viewModel
    readonly property bool folderLoaded: viewModel.folderName !== ""

    width: 1100
    height: 800
    minimumWidth: 700
    minimumHeight: 600
    visible: true
    color: Theme.background
    font: Theme.body

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        HeaderRow {
            objectName: "headerRow"
            viewModel: window.viewModel
            Layout.fillWidth: true
            Layout.maximumWidth: 900
            Layout.alignment: Qt.AlignHCenter
        }

        Item {
            objectName: "mainArea"
            Layout.fillWidth: true
            Layout.fillHeight: true

            StartScreen {
                objectName: "startScreen"
                anchors.fill: parent
                viewModel: window.viewModel
                visible: !window.folderLoaded
                enabled: visible
            }

            PhotoView {
                objectName: "photoPane"
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: 16
                cornerRadius: 8
                visible: window.folderLoaded && window.viewModel.hasImage
                image: window.viewModel.currentImage
                Accessible.role: Accessible.Graphic
                Accessible.name: window.viewModel.currentFileName
            }
        }

        DecisionRow {
            objectName: "decisionRow"
            viewModel: window.viewModel
            enabled: window.viewModel.hasImage
            shortcutsEnabled: enabled && !alert.visible
            Layout.fillWidth: true
            Layout.maximumWidth: 900
            Layout.alignment: Qt.AlignHCenter
        }

        ProgressArea {
            objectName: "progressArea"
            progress: window.viewModel.progress
            total: window.viewModel.total
            Layout.fillWidth: true
            Layout.maximumWidth: 900
            Layout.alignment: Qt.AlignHCenter
        }
    }

    CompletionAlert {
        id: alert

        objectName: "alert"
        viewModel: window.viewModel
    }
}
