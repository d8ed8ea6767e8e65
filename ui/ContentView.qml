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
    required property RegionLoader regionLoader
    readonly property bool folderLoaded: viewModel.folderName !== ""
    // A file is being presented, whether or not it gave a picture: it can be answered.
    readonly property bool filePresented: viewModel.currentFileName !== ""

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
                id: photoPane

                objectName: "photoPane"
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: 16
                cornerRadius: 8
                visible: window.folderLoaded && window.viewModel.hasImage
                image: window.viewModel.currentImage
                loader: window.regionLoader
                // Zoom is the window's own: a new folder, or none, shows its first photo fitted.
                folder: window.viewModel.folderName
                Accessible.role: Accessible.Graphic
                Accessible.name: window.viewModel.currentFileName
            }

            ZoomBadge {
                objectName: "zoomBadge"
                anchors.top: photoPane.top
                anchors.right: photoPane.right
                anchors.margins: 10
                view: photoPane
                rawShot: window.viewModel.showsRawFile
                shortcutsEnabled: !alert.visible
            }

            PhotoPlaceholder {
                objectName: "placeholder"
                anchors.fill: parent
                visible: window.filePresented && !window.viewModel.hasImage
                reason: window.viewModel.imageProblem
            }

            NoticeBar {
                objectName: "notice"
                anchors.bottom: parent.bottom
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottomMargin: 12
                width: Math.min(implicitWidth, parent.width - 64)
                text: window.viewModel.notice
            }
        }

        DecisionRow {
            objectName: "decisionRow"
            viewModel: window.viewModel
            enabled: window.filePresented
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
