pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// The actual-size toggle of the photo pane: Z (and Escape back out), and, while zoomed, a small
// "100%" badge in the pane's corner that returns to the fitted view when clicked. A RAW shot's
// pixels at 100 % are those of the preview its camera embedded, and the badge says so.
AbstractButton {
    id: badge

    required property PhotoView view
    // Qt does not disable a Shortcut with its parent: the window hands its state down itself.
    required property bool shortcutsEnabled
    required property bool rawShot

    visible: view.zoomed
    checkable: false
    checked: view.zoomed
    text: rawShot ? qsTr("100% of the camera's preview") : qsTr("100%")
    implicitWidth: label.implicitWidth + 20
    implicitHeight: label.implicitHeight + 10
    focusPolicy: Qt.NoFocus
    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Actual size")
    Accessible.description: view.zoomed ? qsTr("Zoomed to 100%") : ""
    Accessible.checkable: true
    Accessible.checked: view.zoomed
    onClicked: view.resetZoom()

    background: Rectangle {
        radius: 6
        color: Qt.rgba(0.16, 0.16, 0.18, 0.85)
    }

    contentItem: Label {
        id: label

        text: badge.text
        font: Theme.caption
        color: "white"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Shortcut {
        sequence: "Z"
        enabled: badge.shortcutsEnabled && badge.view.visible
        onActivated: badge.view.toggleZoom()
    }

    Shortcut {
        sequence: StandardKey.Cancel
        enabled: badge.shortcutsEnabled && badge.view.zoomed && badge.view.visible
        onActivated: badge.view.resetZoom()
    }
}
