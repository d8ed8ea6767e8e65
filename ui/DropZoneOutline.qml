import QtQuick
import QtQuick.Shapes

// The dashed, rounded outline of the drop zone, stroked inside the item's bounds.
Shape {
    id: outline

    readonly property real lineWidth: 1.5
    readonly property real radius: 8
    // The path runs along the middle of the stroke.
    readonly property real inset: lineWidth / 2
    readonly property real minX: inset
    readonly property real minY: inset
    readonly property real maxX: width - inset
    readonly property real maxY: height - inset
    readonly property real arc: radius - inset

    antialiasing: true
    layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
    layer.samples: 4

    ShapePath {
        strokeColor: Theme.withOpacity(Theme.secondary, 0.5)
        strokeWidth: outline.lineWidth
        fillColor: "transparent"
        strokeStyle: ShapePath.DashLine
        // In units of the line width: 6 points drawn, 6 left out.
        dashPattern: [6 / outline.lineWidth, 6 / outline.lineWidth]
        dashOffset: 0
        capStyle: ShapePath.FlatCap
        joinStyle: ShapePath.MiterJoin
        miterLimit: 10
        startX: outline.minX + outline.arc
        startY: outline.minY

        PathLine {
            x: outline.maxX - outline.arc
            y: outline.minY
        }
        PathArc {
            x: outline.maxX
            y: outline.minY + outline.arc
            radiusX: outline.arc
            radiusY: outline.arc
        }
        PathLine {
            x: outline.maxX
            y: outline.maxY - outline.arc
        }
        PathArc {
            x: outline.maxX - outline.arc
            y: outline.maxY
            radiusX: outline.arc
            radiusY: outline.arc
        }
        PathLine {
            x: outline.minX + outline.arc
            y: outline.maxY
        }
        PathArc {
            x: outline.minX
            y: outline.maxY - outline.arc
            radiusX: outline.arc
            radiusY: outline.arc
        }
        PathLine {
            x: outline.minX
            y: outline.minY + outline.arc
        }
        PathArc {
            x: outline.minX + outline.arc
            y: outline.minY
            radiusX: outline.arc
            radiusY: outline.arc
        }
    }
}
