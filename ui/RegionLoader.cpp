#include "RegionLoader.h"

#include <QFile>

#include "ImageHandleImage.h"

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

RegionLoader::RegionLoader(std::shared_ptr<const HintedDecoder> decoder, QObject* parent)
    : QObject(parent), decoder_(std::move(decoder)) {}

RegionLoader::~RegionLoader() = default;

// The hint names the photo shown first and the one that any answer shows next.
QString RegionLoader::photoAt(std::size_t position) const {
    if (!decoder_ || decoder_->latestHint().size() <= position) return {};
    return QFile::decodeName(QByteArray::fromStdString(decoder_->latestHint()[position]));
}

QString RegionLoader::currentPhoto() const { return photoAt(0); }

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
    if (kept.identity != known.identity) kept = {};
    kept.identity = known.identity;
    kept.size = known.size;
    if (!known.pixels.isNull()) {
        kept.region = known.region;
        kept.pixels = known.pixels;
    }
    emit loaded(photo);
}

void RegionLoader::load(QPointF relativeCentre, QSize span) {
    if (currentPhoto().isEmpty()) return;
    const quint64 generation = ++generation_;
    // A photo whose pixels around the point are at hand already is not decoded again.
    const auto needed = [&](const std::string& file) {
        const Known* found = fresh(QFile::decodeName(QByteArray::fromStdString(file)));
        if (!found || found->pixels.isNull()) return file;
        const QSize size = found->size;
        const PixelRect view =
            clipped(around(relativeCentre, span / 2, {size.width(), size.height()}),
                    {size.width(), size.height()});
        return found->region.contains(toQRect(view)) ? std::string() : file;
    };
    const std::vector<std::string>& hint = decoder_->latestHint();
    const std::string current = needed(hint[0]);
    const std::string next = hint.size() > 1 ? needed(hint[1]) : std::string();
    if (current.empty() && next.empty()) return;
    // The job owns everything it reads; only the answers come back to this thread, as events
    // that Qt drops if the loader is gone (its worker stops before it is).
    RegionLoader* self = this;
    worker_.submit([self, decoder = decoder_, generation, current, next, relativeCentre, span] {
        const auto post = [&](const std::string& file, const std::optional<FileIdentity>& identity,
                              const std::optional<PixelSize>& size, PixelRect part) {
            const PixelRect inside = clipped(part, *size);
            Known known{identity, QSize(size->width, size->height), toQRect(inside), {}};
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
            const std::optional<FileIdentity> identity = identityOf(file);
            const std::optional<PixelSize> size = decoder->fullSize(file);
            if (!size) continue;
            // The view alone first, so that it turns sharp as soon as it can; then the margin.
            if (file == current && decoder->decodesRegionsAlone(file)) {
                post(file, identity, size, around(relativeCentre, span / 2, *size));
            }
            post(file, identity, size, around(relativeCentre, span, *size));
        }
    });
}

}  // namespace vesko
