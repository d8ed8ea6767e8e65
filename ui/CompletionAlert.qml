pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Vesko.Ui

// "Done!": modal while the classifier says it has finished. Every way of closing it (OK,
// Return, Escape) writes showFinished back and returns to the start screen.
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
            onActivated: alert.accept()
        }
    }

    footer: DialogButtonBox {
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
