#include "RegionLoader.h"

#include <QFile>
#include <algorithm>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "ImageHandleImage.h"

namespace vesko {
namespace {

QRect toQRect(PixelRect rect) { return {rect.x, rect.y, rect.width, rect.height}; }

PixelRect around(QPointF relativeCentre, QSize span, PixelSize size) {
    return {int(relativeCentre.x() * size.width - span.width() / 2.0),
            int(relativeCentre.y() * size.height - span.height() / 2.0), span.width(),
            span.height()};
}

QString pathOf(const std::string& file) {
    return QFile::decodeName(QByteArray::fromStdString(file));
}

std::size_t workerCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

}  // namespace

// Requests not yet started, views' before the photo ahead's, shared with the workers.
struct RegionLoader::Queue {
    std::mutex mutex;
    std::deque<Request> pending;
    std::multiset<std::string> busy;  // files being decoded now
    int viewsBusy = 0;                // of which for views
    bool stopping = false;
};

RegionLoader::RegionLoader(std::shared_ptr<const HintedDecoder> decoder, QObject* parent)
    : QObject(parent), decoder_(std::move(decoder)), queue_(std::make_shared<Queue>()) {}

RegionLoader::~RegionLoader() {
    std::lock_guard lock(queue_->mutex);
    queue_->stopping = true;
    queue_->pending.clear();
}

QString RegionLoader::currentPhoto() const {
    if (!decoder_ || decoder_->latestHint().empty()) return {};
    return pathOf(decoder_->latestHint().front());
}

// The first photo the hint names that no view shows: the one an answer brings in next.
QString RegionLoader::ahead() const {
    if (!decoder_) return {};
    for (const std::string& file : decoder_->latestHint()) {
        const QString photo = pathOf(file);
        if (!std::ranges::any_of(shown_, [&](const auto& view) { return view.second == photo; }))
            return photo;
    }
    return {};
}

bool RegionLoader::kept(const QString& photo) const {
    return photo == ahead() ||
           std::ranges::any_of(shown_, [&](const auto& view) { return view.second == photo; });
}

// A file replaced behind Vesko's back keeps its path: its pixels must not stand for the new one.
const RegionLoader::Known* RegionLoader::fresh(const QString& photo) const {
    const auto found = known_.find(photo);
    if (found == known_.end() || !found->second.identity) return nullptr;
    if (identityOf(QFile::encodeName(photo).toStdString()) != found->second.identity)
        return nullptr;
    return &found->second;
}

QSize RegionLoader::knownSize(const QString& photo) const {
    const Known* known = fresh(photo);
    return known ? known->size : QSize();
}

std::pair<QRect, QImage> RegionLoader::knownRegion(const QString& photo) const {
    const Known* known = fresh(photo);
    if (!known) return {};
    return {known->region, known->pixels};
}

// Whether the pixels at hand hold the view around the point.
bool RegionLoader::covers(const QString& photo, QPointF relativeCentre, QSize span) const {
    const Known* found = fresh(photo);
    if (!found || found->pixels.isNull()) return false;
    const PixelSize size{found->size.width(), found->size.height()};
    return found->region.contains(toQRect(clipped(around(relativeCentre, span / 2, size), size)));
}

void RegionLoader::release(const QObject* view) {
    shown_.erase(view);
    if (shown_.empty()) {
        ++generation_;
        known_.clear();
        std::lock_guard lock(queue_->mutex);
        queue_->pending.clear();
        return;
    }
    std::erase_if(known_, [&](const auto& entry) { return !kept(entry.first); });
}

void RegionLoader::store(quint64 generation, const QString& photo, const Known& known) {
    if (generation != generation_ || !kept(photo)) return;
    std::erase_if(known_, [&](const auto& entry) { return !kept(entry.first); });
    Known& stored = known_[photo];
    if (stored.identity != known.identity) stored = {};
    stored.identity = known.identity;
    stored.size = known.size;
    if (!known.pixels.isNull()) {
        stored.region = known.region;
        stored.pixels = known.pixels;
    }
    emit loaded(photo);
}

void RegionLoader::load(const QObject* view, const QString& photo, QPointF relativeCentre,
                        QSize span) {
    if (!decoder_ || photo.isEmpty()) return;
    shown_[view] = photo;
    std::erase_if(known_, [&](const auto& entry) { return !kept(entry.first); });
    const quint64 generation = generation_;
    if (!covers(photo, relativeCentre, span)) {
        enqueue({view, QFile::encodeName(photo).toStdString(), relativeCentre, span, generation});
    }
    const QString next = ahead();
    if (!next.isEmpty() && !covers(next, relativeCentre, span)) {
        enqueue({nullptr, QFile::encodeName(next).toStdString(), relativeCentre, span, generation});
    }
}

void RegionLoader::enqueue(Request request) {
    {
        std::lock_guard lock(queue_->mutex);
        std::deque<Request>& pending = queue_->pending;
        if (!request.view) {
            // The photo ahead is read once, whichever view asked for it.
            if (queue_->busy.contains(request.file) ||
                std::ranges::any_of(pending, [&](const Request& r) { return !r.view; }))
                return;
            pending.push_back(std::move(request));
        } else {
            std::erase_if(pending, [&](const Request& r) { return r.view == request.view; });
            const auto firstAhead =
                std::ranges::find_if(pending, [](const Request& r) { return !r.view; });
            pending.insert(firstAhead, std::move(request));
        }
    }
    if (workers_.empty()) {
        for (std::size_t i = 0; i < workerCount(); ++i) {
            workers_.push_back(std::make_unique<LatestJobWorker>());
        }
    }
    // Each worker takes requests until none is left; only the answers come back to this thread,
    // as events that Qt drops if the loader is gone (its workers stop before it is).
    for (const auto& worker : workers_) {
        worker->submit(
            [queue = queue_, decoder = decoder_, self = this] { drain(queue, decoder, self); });
    }
}

void RegionLoader::drain(const std::shared_ptr<Queue>& queue,
                         const std::shared_ptr<const HintedDecoder>& decoder, RegionLoader* self) {
    while (true) {
        Request request;
        {
            std::lock_guard lock(queue->mutex);
            if (queue->stopping || queue->pending.empty()) return;
            // The photo ahead waits for the views: sharing the cores with them would delay the
            // zoom on screen. The worker done with the last view's request takes it.
            if (!queue->pending.front().view && queue->viewsBusy > 0) return;
            request = std::move(queue->pending.front());
            queue->pending.pop_front();
            queue->busy.insert(request.file);
            if (request.view) ++queue->viewsBusy;
        }
        try {
            const QString photo = pathOf(request.file);
            const auto post = [&](const std::optional<FileIdentity>& identity, PixelSize size,
                                  PixelRect part) {
                const PixelRect inside = clipped(part, size);
                Known known{identity, QSize(size.width, size.height), toQRect(inside), {}};
                if (const ImageHandle pixels = decoder->decodeRegion(request.file, inside)) {
                    known.pixels = imageFromHandle(pixels);
                    known.region = QRect(inside.x, inside.y, pixels->width(), pixels->height());
                }
                QMetaObject::invokeMethod(
                    self,
                    [self, generation = request.generation, photo, known] {
                        self->store(generation, photo, known);
                    },
                    Qt::QueuedConnection);
            };
            const std::optional<FileIdentity> identity = identityOf(request.file);
            if (const std::optional<PixelSize> size = decoder->fullSize(request.file)) {
                // A view's own part first, so that it turns sharp as soon as it can; then the
                // margin.
                if (request.view && decoder->decodesRegionsAlone(request.file)) {
                    post(identity, *size, around(request.relativeCentre, request.span / 2, *size));
                }
                post(identity, *size, around(request.relativeCentre, request.span, *size));
            }
        } catch (...) {
            // A failed region leaves the view as it was; the next request tries again.
        }
        std::lock_guard lock(queue->mutex);
        queue->busy.erase(queue->busy.find(request.file));
        if (request.view) --queue->viewsBusy;
    }
}

}  // namespace vesko
