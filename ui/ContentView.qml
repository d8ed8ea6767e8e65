import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// The window: header row, main area, decision row and progress area, top to bottom, and the
// completion alert over them. (Not "ComponentBehavior: Bound": Qt 6.4's Loader cannot make a
// bound component.)
ApplicationWindow {
    id: window

    required property PhotoViewModel viewModel
    required property RegionLoader regionLoader
    readonly property bool folderLoaded: viewModel.folderName !== ""
    // A file is being presented, whether or not it gave a picture: it can be answered.
    readonly property bool filePresented: viewModel.currentFileName !== ""
    // Said on the start screen until a folder is loaded: why the folder named at launch was not.
    property string launchNotice: ""
    // The parts the start screen does not show are made after its first frame, or at once
    // when a folder comes first.
    property bool photoPartsWanted: false
    property KeyOverview overview: null
    readonly property bool alertOpen: alert.visible
    readonly property bool zoomed: photoParts.item !== null && photoParts.item.zoomed || compareView.zoomed
    // No window-wide key acts while "Done!" is up. (The key overview, a modal popup, keeps
    // every shortcut of the window from acting while it is open.)
    readonly property bool keysFree: !alertOpen
    property int visibilityBeforeFullScreen: Window.Windowed

    width: 1100
    height: 800
    minimumWidth: 700
    minimumHeight: 600
    visible: true
    color: Theme.background
    font: Theme.body

    onFrameSwapped: photoPartsWanted = true
    onFolderLoadedChanged: {
        if (folderLoaded) {
            photoPartsWanted = true;
            launchNotice = "";
        }
    }

    function toggleFullScreen() {
        if (visibility === Window.FullScreen) {
            visibility = visibilityBeforeFullScreen;
        } else {
            visibilityBeforeFullScreen = visibility;
            showFullScreen();
        }
    }

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

            Loader {
                id: photoParts

                anchors.fill: parent
                active: window.photoPartsWanted
                visible: !compareView.comparing
                sourceComponent: photoPartsComponent
            }

            CompareView {
                id: compareView

                objectName: "compareView"
                anchors.fill: parent
                viewModel: window.viewModel
                regionLoader: window.regionLoader
                shortcutsEnabled: window.keysFree
            }

            NoticeBar {
                objectName: "notice"
                anchors.bottom: parent.bottom
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottomMargin: photoParts.item && photoParts.item.factsHeight > 0
                                      ? photoParts.item.factsHeight + 20 : 12
                width: Math.min(implicitWidth, parent.width - 64)
                // What the start found out is said beside why the folder named at launch was not
                // loaded, not instead of it.
                text: [window.folderLoaded ? "" : window.launchNotice, window.viewModel.notice].filter(t => t !== "").join(" ")
            }
        }

        DecisionRow {
            objectName: "decisionRow"
            viewModel: window.viewModel
            enabled: window.filePresented
            shortcutsEnabled: enabled && window.keysFree
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

    Component {
        id: photoPartsComponent

        Item {
            readonly property bool zoomed: photoPane.zoomed
            // How far the notice must stand above the pane's bottom edge to leave the facts be.
            readonly property real factsHeight: factsLine.visible ? factsLine.height : 0

            PhotoView {
                id: photoPane

                objectName: "photoPane"
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: 16
                cornerRadius: 8
                cornerColor: Theme.background
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
                rawShot: window.viewModel.showsRawFile || window.viewModel.rawPreviewNote !== ""
                shortcutsEnabled: window.keysFree
            }

            Label {
                objectName: "rawPreviewBadge"
                anchors.top: photoPane.top
                anchors.left: photoPane.left
                anchors.margins: 10
                visible: text !== "" && photoPane.visible
                text: window.viewModel.rawPreviewNote
                topPadding: 5
                bottomPadding: 5
                leftPadding: 10
                rightPadding: 10
                font: Theme.caption
                color: "white"
                background: Rectangle {
                    radius: 6
                    color: Qt.rgba(0.16, 0.16, 0.18, 0.85)
                }
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            FactsLine {
                id: factsLine

                objectName: "factsLine"
                anchors.bottom: photoPane.bottom
                anchors.horizontalCenter: photoPane.horizontalCenter
                anchors.bottomMargin: 10
                width: Math.min(implicitWidth, photoPane.width - 32)
                viewModel: window.viewModel
                shortcutsEnabled: window.keysFree
            }

            PhotoPlaceholder {
                objectName: "placeholder"
                anchors.fill: parent
                visible: window.filePresented && !window.viewModel.hasImage
                reason: window.viewModel.imageProblem
            }
        }
    }

    CompletionAlert {
        id: alert

        objectName: "alert"
        viewModel: window.viewModel
    }

    // Made when first asked for.
    Component {
        id: overviewComponent

        KeyOverview {
            objectName: "keyOverview"
        }
    }

    Shortcut {
        sequences: [StandardKey.Undo]
        enabled: window.keysFree && window.viewModel.canUndo
        autoRepeat: false
        onActivated: window.viewModel.undoLast()
    }

    Shortcut {
        sequence: "C"
        enabled: window.keysFree && window.filePresented
        onActivated: {
            if (compareView.comparing)
                window.viewModel.endComparison();
            else
                window.viewModel.compare(compareView.paneLimit);
        }
    }

    // Escape fits a zoomed pane first, and then leaves the comparison.
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: window.keysFree && compareView.comparing
        onActivated: {
            if (compareView.zoomed)
                compareView.fit();
            else
                window.viewModel.endComparison();
        }
    }

    Shortcut {
        sequences: ["F11", "F"]
        enabled: window.keysFree
        onActivated: window.toggleFullScreen()
    }

    // Escape belongs to the zoom, the alert and the overview first.
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: window.keysFree && !window.zoomed && !compareView.comparing && window.visibility === Window.FullScreen
        onActivated: window.toggleFullScreen()
    }

    Shortcut {
        sequences: ["?", "F1"]
        enabled: window.keysFree
        onActivated: {
            if (!window.overview)
                window.overview = overviewComponent.createObject(window.contentItem);
            window.overview.open();
        }
    }
}
