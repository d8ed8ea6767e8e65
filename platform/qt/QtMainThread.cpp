#include "QtMainThread.h"

#include <QCoreApplication>
#include <QThread>

namespace vesko {

void QtMainThread::post(Job job) {
    // Queued events to one receiver are delivered in posting order.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, std::move(job), Qt::QueuedConnection);
    }
}

bool QtMainThread::isMainThread() const {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace vesko
