pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// A plain button of the header: a symbol and a word, primary while enabled, secondary while
// not. It never takes the keyboard focus, so no key presses it.
AbstractButton {
    id: button

    required property url iconSource
    required property bool iconFirst
    readonly property color foreground: enabled ? Theme.primary : Theme.secondary

    focusPolicy: Qt.NoFocus
    font: Theme.body
    opacity: pressed ? 0.6 : 1
    Accessible.role: Accessible.Button
    Accessible.name: text
    // A screen reader presses it as a click would, and not while it is disabled.
    Accessible.onPressAction: {
        if (enabled)
            clicked();
    }

    contentItem: Row {
        spacing: 4
        layoutDirection: button.iconFirst ? Qt.LeftToRight : Qt.RightToLeft

        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            width: 14
            height: 14
            source: Qt.resolvedUrl(button.iconSource)
            color: button.foreground
        }

        Label {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            font: button.font
            color: button.foreground
            Accessible.ignored: true
        }
    }
}
