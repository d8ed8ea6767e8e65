pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vesko.Ui

// A decision: a coloured bar with a black symbol and word, answering a click or its keys.
// It never takes the keyboard focus, so Space or Return cannot press it by accident.
AbstractButton {
    id: button

    required property url iconSource
    required property color tint
    required property list<string> keys
    required property bool keysEnabled

    signal triggered

    focusPolicy: Qt.NoFocus
    padding: 12
    font: Theme.title3
    opacity: enabled ? (pressed ? 0.75 : 1) : 0.45
    Layout.fillWidth: true
    Layout.preferredWidth: 1
    Accessible.role: Accessible.Button
    Accessible.name: text
    // A screen reader presses it as a click would, and not while it is disabled.
    Accessible.onPressAction: {
        if (enabled)
            triggered();
    }

    onClicked: triggered()

    Shortcut {
        sequences: button.keys
        enabled: button.keysEnabled
        context: Qt.WindowShortcut
        // An answer is one press: a held key must not answer photo after photo.
        autoRepeat: false
        onActivated: button.triggered()
    }

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight

        Row {
            id: label

            anchors.centerIn: parent
            spacing: 6

            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                width: 18
                height: 18
                source: Qt.resolvedUrl(button.iconSource)
                color: "black"
            }

            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: button.text
                font: button.font
                color: "black"
                Accessible.ignored: true
            }
        }
    }

    background: Rectangle {
        radius: 6
        color: button.tint
        antialiasing: true
    }
}
