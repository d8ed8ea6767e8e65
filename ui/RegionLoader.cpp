#include "RegionLoader.h"

#include <QFile>

#include "ImageHandleImage.h"
#include "classifier/PhotoViewModel.h"

namespace vesko {
namespace {

struct Request {
    std::string file;
    PixelRect wanted;
};

QRect toQRect(PixelRect rect) { return {rect.x, rect.y, rect.width, rect.height}; }

PixelRect around(QPointF relativeCentre, QSize span, PixelSize size) {
    return {int(relativeCentre.x() * size.width - span.width() / 2.0),
            int(relativeCentre.y() * size.height - span.height() / 2.0), span.width(),
            span.height()};
}

}  // namespace

RegionLoader::RegionLoader(std::shared_ptr<PhotoViewModel> model,
                           std::shared_ptr<const ImageDecoder> decoder, QObject* parent)
    : QObject(parent), model_(std::move(model)), decoder_(std::move(decoder)) {}

RegionLoader::~RegionLoader() = default;

QString RegionLoader::photoAt(std::size_t position) const {
    const auto& queue = model_->queue();
    if (queue.size() <= position) return {};
    return QFile::decodeName(QByteArray::fromStdString(queue[position].path));
}

QString RegionLoader::currentPhoto() const {
    return model_->currentFileName() ? photoAt(0) : QString();
}

QSize RegionLoader::knownSize(const QString& photo) const {
    const auto found = known_.find(photo);
    return found == known_.end() ? QSize() : found->second.size;
}

std::pair<QRect, QImage> RegionLoader::knownRegion(const QString& photo) const {
    const auto found = known_.find(photo);
    if (found == known_.end()) return {};
    return {found->second.region, found->second.pixels};
}

void RegionLoader::release() {
    ++generation_;
    known_.clear();
}

void RegionLoader::store(quint64 generation, const QString& photo, const Known& known) {
    if (generation != generation_) return;
    const QString current = currentPhoto();
    const QString next = photoAt(1);
    if (photo != current && photo != next) return;
    std::erase_if(known_,
                  [&](const auto& entry) { return entry.first != current && entry.first != next; });
    Known& kept = known_[photo];
    kept.size = known.size;
    if (!known.pixels.isNull()) {
        kept.region = known.region;
        kept.pixels = known.pixels;
    }
    emit loaded(photo);
}

void RegionLoader::load(QPointF relativeCentre, QSize span) {
    if (!decoder_ || !model_->currentFileName()) return;
    const quint64 generation = ++generation_;
    // A photo whose pixels around the point are at hand already is not decoded again.
    const auto needed = [&](const std::string& file) {
        const auto found = known_.find(QFile::decodeName(QByteArray::fromStdString(file)));
        if (found == known_.end() || found->second.pixels.isNull()) return file;
        const QSize size = found->second.size;
        const PixelRect view =
            clipped(around(relativeCentre, span / 2, {size.width(), size.height()}),
                    {size.width(), size.height()});
        return found->second.region.contains(toQRect(view)) ? std::string() : file;
    };
    const std::string current = needed(model_->queue()[0].path);
    const std::string next =
        model_->queue().size() > 1 ? needed(model_->queue()[1].path) : std::string();
    if (current.empty() && next.empty()) return;
    // The job owns everything it reads; only the answers come back to this thread, as events
    // that Qt drops if the loader is gone (its worker stops before it is).
    RegionLoader* self = this;
    worker_.submit([self, decoder = decoder_, generation, current, next, relativeCentre, span] {
        const auto post = [&](const std::string& file, const std::optional<PixelSize>& size,
                              PixelRect part) {
            const PixelRect inside = clipped(part, *size);
            Known known{QSize(size->width, size->height), toQRect(inside), {}};
            if (const ImageHandle pixels = decoder->decodeRegion(file, inside)) {
                known.pixels = imageFromHandle(pixels);
                known.region = QRect(inside.x, inside.y, pixels->width(), pixels->height());
            }
            const QString photo = QFile::decodeName(QByteArray::fromStdString(file));
            QMetaObject::invokeMethod(
                self, [self, generation, photo, known] { self->store(generation, photo, known); },
                Qt::QueuedConnection);
        };
        for (const std::string& file : {current, next}) {
            if (file.empty()) continue;
            const std::optional<PixelSize> size = decoder->fullSize(file);
            if (!size) continue;
            // The view alone first, so that it turns sharp as soon as it can; then the margin.
            if (file == current && decoder->decodesRegionsAlone(file)) {
                post(file, size, around(relativeCentre, span / 2, *size));
            }
            post(file, size, around(relativeCentre, span, *size));
        }
    });
}

}  // namespace vesko
