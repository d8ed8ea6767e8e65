pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Vesko.Ui

// The photos of a burst side by side in the photo area, in queue order from the left. ← and →,
// or 1 to 4, choose a pane; the answers go to the chosen one, which is the current photo.
Item {
    id: compare

    required property PhotoViewModel viewModel
    required property RegionLoader regionLoader
    // Qt does not disable a Shortcut with its parent: the window hands its state down itself.
    required property bool shortcutsEnabled
    readonly property bool comparing: viewModel.comparedCount > 0
    // As many panes as fit at least 320 px wide, four at most.
    readonly property int paneLimit: Math.min(4, Math.floor((width - 32 + spacing) / (320 + spacing)))
    readonly property int spacing: 12
    // The point of the photos, 0 to 1 across, that the panes zoomed in around; null when fitted.
    property var zoomPoint: null

    readonly property bool zoomed: {
        for (let i = 0; i < panes.count; ++i) {
            const pane = panes.itemAt(i) as ComparePane;
            if (pane && pane.view.zoomed)
                return true;
        }
        return false;
    }

    visible: comparing
    onComparingChanged: zoomPoint = null
    // A window made too narrow for its panes compares as many as still fit.
    onPaneLimitChanged: {
        if (comparing && paneLimit < viewModel.comparedCount) {
            viewModel.endComparison();
            viewModel.compare(paneLimit);
        }
    }

    // Fits every pane again.
    function fit() {
        for (let i = 0; i < panes.count; ++i) {
            const pane = panes.itemAt(i) as ComparePane;
            if (pane)
                pane.view.resetZoom();
        }
    }

    function paneAt(i: int): ComparePane {
        return panes.itemAt(i) as ComparePane;
    }

    // Every pane zooms and fits with the one that did.
    function follow(view: PhotoView) {
        zoomPoint = view.zoomed ? view.relativeCentre() : null;
        for (let i = 0; i < panes.count; ++i) {
            const other = paneAt(i);
            if (!other || other.view === view)
                continue;
            if (view.zoomed)
                other.view.zoomAtRelative(zoomPoint);
            else
                other.view.resetZoom();
        }
    }

    // A drag pans every pane in step; with Shift only the one dragged.
    function panOthers(view: PhotoView, delta: point, alone: bool) {
        for (let i = 0; i < panes.count && !alone; ++i) {
            const other = paneAt(i);
            if (other && other.view !== view)
                other.view.pan(delta);
        }
    }

    // Z: around the point under the pointer in the pane it is over, else the chosen one's centre.
    function toggleZoom() {
        let target = paneAt(viewModel.chosenPane);
        for (let i = 0; i < panes.count; ++i) {
            const pane = paneAt(i);
            if (pane && pane.view.pointerOverPhoto())
                target = pane;
        }
        if (target)
            target.view.toggleZoom();
    }

    function choose(pane: int) {
        if (pane >= 0 && pane < viewModel.comparedCount)
            viewModel.choosePane(pane);
    }

    Row {
        id: row

        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: compare.spacing

        Repeater {
            id: panes

            // By count: a pane whose photo changes keeps its zoom.
            model: compare.viewModel.comparedCount

            ComparePane {
                id: paneItem

                required property int index

                objectName: "comparePane" + index
                width: (row.width - row.spacing * (count - 1)) / count
                height: row.height
                photo: compare.viewModel.comparedPhoto(index)
                position: index
                count: compare.viewModel.comparedCount
                chosen: index === compare.viewModel.chosenPane
                showsFacts: compare.viewModel.showsShootingFacts
                loader: compare.regionLoader
                folder: compare.viewModel.folderName
                onChooseRequested: compare.choose(index)
                Component.onCompleted: {
                    if (compare.zoomPoint !== null)
                        view.zoomAtRelative(compare.zoomPoint);
                }

                Connections {
                    target: paneItem.view

                    function onZoomedChanged() {
                        compare.follow(paneItem.view);
                    }

                    function onDragged(delta: point, alone: bool) {
                        compare.panOthers(paneItem.view, delta, alone);
                    }
                }
            }
        }
    }

    Shortcut {
        sequence: "Z"
        enabled: compare.shortcutsEnabled && compare.comparing
        onActivated: compare.toggleZoom()
    }

    Shortcut {
        sequence: "Left"
        enabled: compare.shortcutsEnabled && compare.comparing
        onActivated: compare.choose(compare.viewModel.chosenPane - 1)
    }

    Shortcut {
        sequence: "Right"
        enabled: compare.shortcutsEnabled && compare.comparing
        onActivated: compare.choose(compare.viewModel.chosenPane + 1)
    }

    Repeater {
        model: 4

        Item {
            id: numberKey

            required property int index

            Shortcut {
                sequence: String(numberKey.index + 1)
                enabled: compare.shortcutsEnabled && compare.comparing
                onActivated: compare.choose(numberKey.index)
            }
        }
    }
}
