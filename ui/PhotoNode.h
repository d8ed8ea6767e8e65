#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSGNode>
#include <array>

class QQuickWindow;
class QSGImageNode;

namespace vesko {

// What a PhotoView shows, as scene-graph nodes: the photo, the sharp region over it while zoomed,
// and four corners in the colour behind the view that round it off. Each picture becomes a
// texture once, when it is handed in, so that a frame only places textures the renderer scales:
// painting a photo of a 4K screen anew for every frame cost more than the frame itself.
// Lives on the render thread.
class PhotoNode : public QSGNode {
public:
    explicit PhotoNode(QQuickWindow* window);

    // A null image shows nothing of it; the same image again keeps its texture.
    void setPhoto(const QImage& photo);
    void setSharp(const QImage& sharp);
    // Where the photo and the sharp region land in the item (they may reach beyond it); only the
    // part inside `bounds` is drawn.
    void place(const QRectF& photo, const QRectF& sharp, const QRectF& bounds);
    // Rounds off the corners of `bounds` that `which` names (top left, top right, bottom right,
    // bottom left).
    void roundCorners(const QRectF& bounds, qreal radius, const QColor& colour, qreal pixelRatio,
                      std::array<bool, 4> which);

private:
    QSGImageNode* imageNode(QSGImageNode*& node, const QImage& image, qint64& key, bool smooth);

    QQuickWindow* window_;
    QSGImageNode* photo_ = nullptr;
    QSGImageNode* sharp_ = nullptr;
    std::array<QSGImageNode*, 4> corners_{};
    qint64 photoKey_ = 0;
    qint64 sharpKey_ = 0;
    std::array<qint64, 4> cornerKeys_{};
    QImage cornerMask_;
    QColor cornerColour_;  // the mask's: read back from premultiplied pixels it may differ
};

}  // namespace vesko
