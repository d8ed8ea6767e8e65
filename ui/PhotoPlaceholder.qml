pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// Stands in for a photo whose file gives no picture; the file can still be answered.
Item {
    id: placeholder

    // Why there is no picture, in words; empty when that is not known.
    required property string reason

    Accessible.role: Accessible.Graphic
    Accessible.name: reason !== "" ? title.text + ". " + reason : title.text

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(implicitWidth, parent.width)
        spacing: 8

        SymbolIcon {
            source: Qt.resolvedUrl("icons/exclamationmark.triangle.svg")
            color: Theme.secondary
            Layout.preferredWidth: 56
            Layout.preferredHeight: 48
            Layout.alignment: Qt.AlignHCenter
        }

        Label {
            id: title

            text: qsTr("This file can't be shown")
            font: Theme.headline
            color: Theme.secondary
            Layout.alignment: Qt.AlignHCenter
        }

        Label {
            objectName: "placeholderReason"
            text: placeholder.reason
            visible: text !== ""
            font: Theme.body
            color: Theme.secondary
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
    }
}
