pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// The header's switch for the line of shooting facts, as I switches it.
AbstractButton {
    id: button

    required property PhotoViewModel viewModel

    // Shown as checked while the line is on; the setting, not the button, holds the state.
    checked: viewModel.showsShootingFacts
    focusPolicy: Qt.NoFocus
    implicitWidth: 20
    implicitHeight: 20
    opacity: pressed ? 0.6 : 1
    text: qsTr("Shooting facts")
    ToolTip.visible: hovered
    ToolTip.delay: 600
    ToolTip.text: qsTr("Shooting facts (I)")
    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: clicked()
    onClicked: viewModel.showsShootingFacts = !viewModel.showsShootingFacts

    contentItem: SymbolIcon {
        source: Qt.resolvedUrl("icons/info.circle.svg")
        color: button.checked ? Theme.accent : Theme.secondary
    }
}
