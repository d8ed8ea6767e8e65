#include "ComparedPhotoItem.h"

#include "ImageHandleImage.h"
#include "NoticeTexts.h"
#include "ShootingFactsText.h"

namespace vesko {

void ComparedPhotoItem::show(const ComparedPhoto* photo) {
    if (photo ? shown_ == *photo : !shown_) return;
    shown_ = photo ? std::optional(*photo) : std::nullopt;
    const ImageHandle image = photo ? photo->image : nullptr;
    fileName_ = photo ? fromNameBytes(photo->fileName) : QString();
    path_ = photo ? fromNameBytes(photo->path) : QString();
    image_ = imageFromHandle(image);
    facts_ = image ? shootingFactsLine(image->facts()) : QString();
    problem_ = photo ? imageProblemText(photo->problem) : QString();
    emit changed();
}

}  // namespace vesko
