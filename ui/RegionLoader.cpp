#include "RegionLoader.h"

#include <sys/resource.h>
#include <unistd.h>

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

// The first pixels of a photo zoomed in on are decoded at the window's own priority: the user
// waits for them. The rest (what a drag reaches, margins, the photo ahead) yields to the thread
// that draws, so that a drag stays smooth, but goes before the photos decoded ahead, which run
// at a niceness of 10.
void takePriority(bool urgent) {
    static thread_local int niceness = 0;
    const int wanted = urgent ? 0 : 5;
    if (wanted == niceness) return;
    niceness = wanted;
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), wanted);
}

std::size_t workerCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

}  // namespace

// Requests not yet started, views' before the photo ahead's, shared with the workers.
struct RegionLoader::Queue {
    std::mutex mutex;
    std::deque<Request> pending;
    std::multiset<std::string> busy;  // files being decoded now
    std::multiset<int> busyRanks;     // and the ranks of their requests
    std::vector<Answer> answers;      // decoded, not yet taken by the GUI thread
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

bool RegionLoader::kept(const QString& photo, const QString& ahead) const {
    return photo == ahead ||
           std::ranges::any_of(shown_, [&](const auto& view) { return view.second == photo; });
}

// Lets go of the pixels of photos no view shows and that are not the one ahead.
void RegionLoader::prune() {
    const QString next = ahead();
    std::erase_if(known_, [&](const auto& entry) { return !kept(entry.first, next); });
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
    prune();
}

void RegionLoader::takeAnswers() {
    std::vector<Answer> answers;
    {
        std::lock_guard lock(queue_->mutex);
        answers.swap(queue_->answers);
    }
    for (const Answer& answer : answers) store(answer.generation, answer.photo, answer.known);
}

void RegionLoader::store(quint64 generation, const QString& photo, const Known& known) {
    if (generation != generation_ || !kept(photo, ahead())) return;
    prune();
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
    prune();
    const quint64 generation = generation_;
    if (!covers(photo, relativeCentre, span)) {
        const Known* known = fresh(photo);
        const bool urgent = !known || known->pixels.isNull();
        enqueue({view, QFile::encodeName(photo).toStdString(), relativeCentre, span, generation,
                 false, urgent});
    }
    const QString next = ahead();
    if (!next.isEmpty() && !covers(next, relativeCentre, span)) {
        enqueue({nullptr, QFile::encodeName(next).toStdString(), relativeCentre, span, generation});
    }
}

// Views' own parts first, then their margins, then the photo ahead; each in the order asked.
int RegionLoader::rank(const Request& request) {
    return !request.view ? 2 : request.marginOnly ? 1 : 0;
}

void RegionLoader::insert(std::deque<Request>& pending, Request request) {
    const auto after = std::ranges::find_if(
        pending, [&](const Request& queued) { return rank(queued) > rank(request); });
    pending.insert(after, std::move(request));
}

void RegionLoader::enqueue(Request request) {
    {
        std::lock_guard lock(queue_->mutex);
        std::deque<Request>& pending = queue_->pending;
        // A view's newer request, or a newer photo ahead, replaces the one still waiting; the
        // photo ahead is read once, whichever view asked for it.
        if (!request.view && queue_->busy.contains(request.file)) return;
        std::erase_if(pending, [&](const Request& r) { return r.view == request.view; });
        insert(pending, std::move(request));
    }
    if (workers_.empty()) {
        for (std::size_t i = 0; i < workerCount(); ++i) {
            workers_.push_back(std::make_unique<LatestJobWorker>());
        }
    }
    // Each worker takes requests until none is left; the answers come back to this thread
    // through the queue, with a wake-up that Qt drops if the loader is gone (its workers stop
    // before it is).
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
            // Each rank waits for the one before it: sharing the cores with the parts on screen
            // would delay them, and the window needs a core to draw each one that comes in. The
            // worker done with the last of a rank takes the next.
            const int next = rank(queue->pending.front());
            if (std::ranges::any_of(queue->busyRanks, [&](int busy) { return busy < next; }))
                return;
            request = std::move(queue->pending.front());
            queue->pending.pop_front();
            queue->busy.insert(request.file);
            queue->busyRanks.insert(next);
        }
        takePriority(request.urgent && !request.marginOnly);
        std::optional<Request> margin;
        try {
            margin = decodeFor(request, *decoder, *queue, self);
        } catch (...) {
            // A failed region leaves the view as it was; the next request tries again.
        }
        std::lock_guard lock(queue->mutex);
        queue->busy.erase(queue->busy.find(request.file));
        queue->busyRanks.erase(queue->busyRanks.find(rank(request)));
        // After every view's own part, unless the view has asked anew meanwhile.
        std::deque<Request>& pending = queue->pending;
        if (margin && std::ranges::none_of(
                          pending, [&](const Request& r) { return r.view == request.view; })) {
            insert(pending, std::move(*margin));
        }
    }
}

// Decodes what `request` asks for and posts it to the loader. Where the decoder decodes regions
// alone, a view gets the part it shows first, so that it turns sharp as soon as it can, and
// its margin is handed back to be decoded after the other views' parts.
std::optional<RegionLoader::Request> RegionLoader::decodeFor(const Request& request,
                                                             const HintedDecoder& decoder,
                                                             Queue& queue, RegionLoader* self) {
    const std::optional<FileIdentity> identity = identityOf(request.file);
    const std::optional<PixelSize> size = decoder.fullSize(request.file);
    if (!size) return std::nullopt;
    // A format decoded whole for any region is cut with a wider margin, which costs it nothing
    // more and lets a drag go further before it is decoded again.
    const bool alone = decoder.decodesRegionsAlone(request.file);
    const bool viewFirst = request.view && !request.marginOnly && alone;
    const QSize span = viewFirst ? request.span / 2 : alone ? request.span : request.span * 3 / 2;
    const PixelRect inside = clipped(around(request.relativeCentre, span, *size), *size);
    Known known{identity, QSize(size->width, size->height), toQRect(inside), {}};
    if (const ImageHandle pixels = decoder.decodeRegion(request.file, inside)) {
        known.pixels = imageFromHandle(pixels);
        known.region = QRect(inside.x, inside.y, pixels->width(), pixels->height());
    }
    {
        std::lock_guard lock(queue.mutex);
        queue.answers.push_back({request.generation, pathOf(request.file), std::move(known)});
    }
    // Only a wake-up goes through Qt's event queue; the answers pass under the queue's own lock.
    QMetaObject::invokeMethod(self, "takeAnswers", Qt::QueuedConnection);
    if (!viewFirst) return std::nullopt;
    Request margin = request;
    margin.marginOnly = true;
    return margin;
}

}  // namespace vesko
