pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// The bar of photos decided and its count; faded, with a hint, while there are no photos.
Item {
    id: area

    required property real progress
    required property real total
    readonly property bool hasPhotos: total >= 1

    implicitHeight: column.implicitHeight + 8 + 24

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 8
        anchors.bottomMargin: 24
        spacing: 4

        ProgressBar {
            id: bar

            objectName: "progressBar"
            readonly property color tint: area.hasPhotos ? Theme.accent : Theme.withOpacity(Theme.secondary, 0.3)

            from: 0
            to: area.hasPhotos ? area.total : 1
            value: area.hasPhotos ? area.progress : 0
            opacity: area.hasPhotos ? 1.0 : 0.4
            Layout.fillWidth: true
            Accessible.role: Accessible.ProgressBar
            Accessible.name: qsTr("Progress")

            background: Rectangle {
                implicitHeight: 6
                radius: 3
                color: Theme.withOpacity(Theme.primary, 0.1)
            }

            contentItem: Item {
                implicitHeight: 6

                Rectangle {
                    objectName: "progressFill"
                    width: bar.visualPosition * parent.width
                    height: parent.height
                    radius: 3
                    color: bar.tint
                }
            }
        }

        Label {
            objectName: "countLabel"
            text: area.hasPhotos ? qsTr("%1/%2").arg(area.progress).arg(area.total) : qsTr("Select a folder to begin")
            font: Theme.caption
            color: Theme.secondary
            Layout.alignment: Qt.AlignHCenter
            // "3/10" is for the eye; a screen reader says it in words.
            Accessible.role: Accessible.StaticText
            Accessible.name: area.hasPhotos ? qsTr("%1 of %2 photos decided").arg(area.progress).arg(area.total) : text
        }
    }
}
