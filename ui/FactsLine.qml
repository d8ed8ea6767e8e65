pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// How the current photo was taken, in one line over the photo's bottom edge, while the user
// wants it (I, or the header's info button) and a picture is shown.
Rectangle {
    id: line

    required property PhotoViewModel viewModel
    // Qt does not disable a Shortcut with its parent: the window hands its state down itself.
    required property bool shortcutsEnabled

    visible: viewModel.showsShootingFacts && viewModel.hasImage
    implicitWidth: label.implicitWidth + 24
    implicitHeight: label.implicitHeight + 12
    radius: 6
    color: Qt.rgba(0.16, 0.16, 0.18, 0.8)
    Accessible.role: Accessible.StaticText
    Accessible.name: qsTr("Shooting facts")
    // Changes with every photo, which a screen reader hears as a new description.
    Accessible.description: label.text

    Label {
        id: label

        anchors.fill: parent
        anchors.margins: 6
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        text: line.viewModel.shootingFacts
        textFormat: Text.PlainText
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font: Theme.caption
        color: "white"
        Accessible.ignored: true
    }

    Shortcut {
        sequence: "I"
        enabled: line.shortcutsEnabled
        onActivated: line.viewModel.showsShootingFacts = !line.viewModel.showsShootingFacts
    }
}
