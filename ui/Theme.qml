pragma Singleton
import QtQuick

// The colours and text styles of the window, from the desktop's palette.
QtObject {
    readonly property SystemPalette palette: SystemPalette {
        colorGroup: SystemPalette.Active
    }
    readonly property color background: palette.window
    readonly property color primary: palette.windowText
    readonly property color secondary: withOpacity(primary, 0.5)
    readonly property color accent: palette.highlight

    readonly property font body: Qt.font({
            "pixelSize": 13
        })
    readonly property font headline: Qt.font({
            "pixelSize": 13,
            "weight": Font.DemiBold
        })
    readonly property font caption: Qt.font({
            "pixelSize": 10
        })
    readonly property font title3: Qt.font({
            "pixelSize": 15
        })

    function withOpacity(colour: color, opacity: real): color {
        return Qt.rgba(colour.r, colour.g, colour.b, colour.a * opacity);
    }
}
