pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Vesko.Ui

// "Done!": modal while the classifier says it has finished. Every way of closing it (OK,
// Return, Escape) writes showFinished back and returns to the start screen; Undo (the button
// or its key) takes the last answer back instead, which closes it too.
Dialog {
    id: alert

    required property PhotoViewModel viewModel

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    title: qsTr("Done!")

    onClosed: {
        if (viewModel.showFinished) {
            viewModel.showFinished = false;
            viewModel.reset();
        }
    }

    Connections {
        target: alert.viewModel

        function onShowFinishedChanged() {
            if (alert.viewModel.showFinished)
                alert.open();
            else
                alert.close();
        }
    }

    Label {
        text: qsTr("All photos have been classified.")
        Accessible.role: Accessible.StaticText
        Accessible.name: text

        Shortcut {
            sequences: ["Return", "Enter"]
            enabled: alert.visible
            // The key that answered the last photo, still held, must not dismiss the alert.
            autoRepeat: false
            onActivated: alert.accept()
        }

        Shortcut {
            sequences: [StandardKey.Undo]
            enabled: alert.visible && alert.viewModel.canUndo
            autoRepeat: false
            onActivated: alert.viewModel.undoLast()
        }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "alertUndoButton"
            text: qsTr("Undo")
            visible: alert.viewModel.canUndo
            focusPolicy: Qt.NoFocus
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            Accessible.role: Accessible.Button
            Accessible.name: text
            Accessible.onPressAction: alert.viewModel.undoLast()
            onClicked: alert.viewModel.undoLast()
        }

        Button {
            objectName: "okButton"
            text: qsTr("OK")
            focusPolicy: Qt.NoFocus
            DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
            Accessible.role: Accessible.Button
            Accessible.name: text
            Accessible.onPressAction: alert.accept()
        }
    }
}
