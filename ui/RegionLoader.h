#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <map>
#include <memory>

#include "platform/AheadDecoder.h"
#include "platform/HintedDecoder.h"
#include "platform/LatestJobWorker.h"

namespace vesko {

// Full-resolution pixels of the current photo, and of the next one, decoded on a worker thread
// around the part the window shows, for the zoomed view. Which photos those are it learns from
// the hint the classifier gives the decoder. Holds the pixels of those two photos only, and none
// once released. Belongs to the GUI thread; answers arrive there as signals, named by the
// photo's path so that a late one for another photo is ignored.
class RegionLoader : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The window makes its own.")

public:
    // Without a decoder (or one that cannot decode regions) nothing is ever loaded.
    explicit RegionLoader(std::shared_ptr<const HintedDecoder> decoder, QObject* parent = nullptr);
    ~RegionLoader() override;

    // The path of the photo the window shows, empty when none.
    QString currentPhoto() const;
    // Asks for the current photo's full size and its pixels in a `span` of full-resolution
    // pixels around `relativeCentre` (0 to 1 across the upright image), the middle half of each
    // side first where the decoder decodes regions alone, and then for the next photo's around
    // the same relative point.
    void load(QPointF relativeCentre, QSize span);
    // Full-resolution pixels already at hand for `photo`: its size (empty when unknown), and a
    // region with its pixels (empty when none). Nothing once the file is no longer the one they
    // were read from.
    QSize knownSize(const QString& photo) const;
    std::pair<QRect, QImage> knownRegion(const QString& photo) const;
    // Lets go of every pixel held; answers still on their way are dropped.
    void release();

signals:
    // Something became known about `photo`: its size, or the pixels of a region.
    void loaded(const QString& photo);

private:
    struct Known {
        std::optional<FileIdentity> identity;  // taken before the file was read
        QSize size;
        QRect region;
        QImage pixels;
    };
    void store(quint64 generation, const QString& photo, const Known& known);
    // What is known of `photo`, while its file is still the one it was read from.
    const Known* fresh(const QString& photo) const;
    QString photoAt(std::size_t position) const;

    std::shared_ptr<const HintedDecoder> decoder_;
    std::map<QString, Known> known_;
    quint64 generation_ = 0;
    LatestJobWorker worker_;  // last: its thread stops first
};

}  // namespace vesko
