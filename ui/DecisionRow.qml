pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Vesko.Ui

// "No", "Maybe" and "Yes", in equal widths, each with its key.
Item {
    id: decisions

    required property PhotoViewModel viewModel
    // Qt does not disable a Shortcut with its parent: the row hands its state down itself.
    property bool shortcutsEnabled: enabled

    implicitHeight: row.implicitHeight + 24

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 24
        spacing: 24

        DecisionButton {
            objectName: "noButton"
            text: qsTr("No")
            iconSource: "icons/x.circle.fill.svg"
            tint: Qt.rgba(1.0, 0.33, 0.36, 1.0)
            // Backspace is the key that erases backwards; Delete answers too on a PC keyboard.
            keys: ["Backspace", "Del"]
            keysEnabled: decisions.shortcutsEnabled
            onTriggered: decisions.viewModel.classifyAsDiscarded()
        }

        DecisionButton {
            objectName: "maybeButton"
            text: qsTr("Maybe")
            iconSource: "icons/minus.circle.fill.svg"
            tint: Qt.rgba(1.0, 0.85, 0.25, 1.0)
            keys: ["Space"]
            keysEnabled: decisions.shortcutsEnabled
            onTriggered: decisions.viewModel.skipCurrent()
        }

        DecisionButton {
            objectName: "yesButton"
            text: qsTr("Yes")
            iconSource: "icons/checkmark.circle.fill.svg"
            tint: Qt.rgba(0.33, 0.8, 0.35, 1.0)
            keys: ["Return", "Enter"]
            keysEnabled: decisions.shortcutsEnabled
            onTriggered: decisions.viewModel.classifyAsSelected()
        }
    }
}
