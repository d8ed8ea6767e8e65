#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QString>

#include "classifier/PhotoViewModel.h"

namespace vesko {

// One pane's photo of a comparison, as QML sees it. The window's bridge keeps one for each
// pane and updates it in place, so that QML holds no copies of pictures that only its garbage
// collector would let go of.
class ComparedPhotoItem : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The window's classifier hands out the compared photos.")

    Q_PROPERTY(QString fileName READ fileName NOTIFY changed)
    // The file the picture comes from; empty for the chosen pane, which shows the current photo.
    Q_PROPERTY(QString path READ path NOTIFY changed)
    Q_PROPERTY(QImage image READ image NOTIFY changed)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY changed)
    // Its line of shooting facts.
    Q_PROPERTY(QString facts READ facts NOTIFY changed)
    // Why it shows no picture.
    Q_PROPERTY(QString problem READ problem NOTIFY changed)

public:
    using QObject::QObject;

    QString fileName() const { return fileName_; }
    QString path() const { return path_; }
    QImage image() const { return image_; }
    bool hasImage() const { return shown_ && shown_->image; }
    QString facts() const { return facts_; }
    QString problem() const { return problem_; }

    // Shows `photo`; nothing (and no pixels held) for none.
    void show(const ComparedPhoto* photo);

signals:
    void changed();

private:
    std::optional<ComparedPhoto> shown_;
    QString fileName_;
    QString path_;
    QImage image_;
    QString facts_;
    QString problem_;
};

}  // namespace vesko
