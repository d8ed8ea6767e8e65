#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/AheadDecoder.h"
#include "platform/HintedDecoder.h"
#include "platform/LatestJobWorker.h"

namespace vesko {

// Full-resolution pixels, decoded on worker threads (one a core) around the part each zoomed
// view shows: of every photo a view shows zoomed, and of the photo ahead of them, which the
// classifier's hint to the decoder names. Holds the pixels of those photos only, and none once
// no view is zoomed. Belongs to the GUI thread; answers arrive there as signals, named by the
// photo's path so that a late one for another photo is ignored.
class RegionLoader : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The window makes its own.")

public:
    // Without a decoder (or one that cannot decode regions) nothing is ever loaded.
    explicit RegionLoader(std::shared_ptr<const HintedDecoder> decoder, QObject* parent = nullptr);
    ~RegionLoader() override;

    // The path of the photo the single view shows, empty when none.
    QString currentPhoto() const;
    // `view` shows `photo` zoomed: asks for its full size and its pixels in a `span` of
    // full-resolution pixels around `relativeCentre` (0 to 1 across the upright image), the
    // middle half of each side first where the decoder decodes regions alone; then for the photo
    // ahead's around the same relative point. A view's newer request replaces its older one
    // that has not started yet.
    void load(const QObject* view, const QString& photo, QPointF relativeCentre, QSize span);
    // Full-resolution pixels already at hand for `photo`: its size (empty when unknown), and a
    // region with its pixels (empty when none). Nothing once the file is no longer the one they
    // were read from.
    QSize knownSize(const QString& photo) const;
    std::pair<QRect, QImage> knownRegion(const QString& photo) const;
    // `view` is no longer zoomed. Once no view is, every pixel held is let go and answers still
    // on their way are dropped.
    void release(const QObject* view);

signals:
    // Something became known about `photo`: its size, or the pixels of a region.
    void loaded(const QString& photo);

private slots:
    // Stores what the workers decoded, on the GUI thread.
    void takeAnswers();

private:
    struct Known {
        std::optional<FileIdentity> identity;  // taken before the file was read
        QSize size;
        QRect region;
        QImage pixels;
    };
    struct Answer {
        quint64 generation;
        QString photo;
        Known known;
    };
    struct Request {
        const QObject* view;  // null for the photo ahead
        std::string file;
        QPointF relativeCentre;
        QSize span;
        quint64 generation;
        bool marginOnly = false;  // its view's own part is decoded already
        bool urgent = false;      // the first pixels of its photo
    };
    struct Queue;
    void store(quint64 generation, const QString& photo, const Known& known);
    // What is known of `photo`, while its file is still the one it was read from.
    const Known* fresh(const QString& photo) const;
    bool covers(const QString& photo, QPointF relativeCentre, QSize span) const;
    bool kept(const QString& photo, const QString& ahead) const;
    void prune();
    QString ahead() const;
    void enqueue(Request request);
    static int rank(const Request& request);
    static void insert(std::deque<Request>& pending, Request request);
    static void drain(const std::shared_ptr<Queue>& queue,
                      const std::shared_ptr<const HintedDecoder>& decoder, RegionLoader* self);
    static std::optional<Request> decodeFor(const Request& request, const HintedDecoder& decoder,
                                            Queue& queue, RegionLoader* self);

    std::shared_ptr<const HintedDecoder> decoder_;
    std::map<QString, Known> known_;
    std::map<const QObject*, QString> shown_;  // each zoomed view's photo
    quint64 generation_ = 0;
    std::shared_ptr<Queue> queue_;
    std::vector<std::unique_ptr<LatestJobWorker>> workers_;  // last: their threads stop first
};

}  // namespace vesko
