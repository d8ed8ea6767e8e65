import QtQuick
import QtQuick.Controls.Basic

// The floor Vesko's start is measured against: a title, a caption and a button.
ApplicationWindow {
    width: 1100
    height: 800
    visible: true
    title: "Bare window"

    Column {
        anchors.centerIn: parent
        spacing: 12

        Label {
            text: "Bare window"
            font.pointSize: 17
            font.bold: true
        }
        Label {
            text: "Drag or select the folder with images"
        }
        Button {
            text: "Select folder"
        }
    }
}
