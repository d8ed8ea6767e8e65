pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// One photo of a comparison: its picture (or its placeholder), its file name and, while wanted,
// its shooting facts. The chosen pane is outlined; a click on another one chooses it.
Item {
    id: pane

    required property ComparedPhotoItem photo
    required property int position
    required property int count
    required property bool chosen
    required property bool showsFacts
    required property RegionLoader loader
    required property string folder
    readonly property alias view: photoView

    signal chooseRequested

    Accessible.role: Accessible.Graphic
    Accessible.name: photo.fileName
    //: A pane of the comparison: "2 of 3 in comparison".
    Accessible.description: qsTr("%1 of %2 in comparison").arg(position + 1).arg(count)
    Accessible.selected: chosen

    PhotoView {
        id: photoView

        anchors.fill: parent
        anchors.bottomMargin: nameLabel.height + 6
        cornerRadius: 8
        cornerColor: Theme.background
        image: pane.photo.image
        loader: pane.loader
        photoPath: pane.photo.path
        folder: pane.folder
        visible: pane.photo.hasImage
    }

    PhotoPlaceholder {
        anchors.fill: photoView
        visible: !photoView.visible
        reason: pane.photo.problem
    }

    // Around the fitted picture where there is one, else (zoomed, or without one) the pane.
    Rectangle {
        readonly property rect around: photoView.visible && !photoView.zoomed ? photoView.photoRect : Qt.rect(0, 0, photoView.width, photoView.height)

        x: photoView.x + around.x - 4
        y: photoView.y + around.y - 4
        width: around.width + 8
        height: around.height + 8
        radius: 6
        color: "transparent"
        border.width: 3
        border.color: Theme.accent
        visible: pane.chosen
    }

    // Over the picture's bottom edge, as in the single view.
    Label {
        y: photoView.y + photoView.photoRect.y + photoView.photoRect.height - height - 10
        anchors.horizontalCenter: photoView.horizontalCenter
        width: Math.min(implicitWidth, photoView.width - 16)
        visible: pane.showsFacts && photoView.visible
        text: pane.photo.facts
        textFormat: Text.PlainText
        elide: Text.ElideRight
        padding: 6
        font: Theme.caption
        color: "white"
        background: Rectangle {
            radius: 6
            color: Qt.rgba(0.16, 0.16, 0.18, 0.8)
        }
        Accessible.ignored: true
    }

    Label {
        id: nameLabel

        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, parent.width)
        text: pane.photo.fileName
        textFormat: Text.PlainText
        elide: Text.ElideMiddle
        font: Theme.caption
        color: pane.chosen ? Theme.primary : Theme.secondary
        Accessible.ignored: true
    }

    MouseArea {
        anchors.fill: parent
        enabled: !pane.chosen
        onClicked: pane.chooseRequested()
    }
}
