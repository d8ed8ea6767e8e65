pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// Says why the last answer or Undo did not happen, until the next one.
Rectangle {
    id: bar

    required property string text

    visible: text !== ""
    implicitWidth: label.implicitWidth + 32
    implicitHeight: label.implicitHeight + 16
    radius: 6
    color: Qt.rgba(0.16, 0.16, 0.18, 0.92)
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text

    Label {
        id: label

        anchors.fill: parent
        anchors.margins: 8
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        text: bar.text
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font: Theme.body
        color: "white"
    }
}
