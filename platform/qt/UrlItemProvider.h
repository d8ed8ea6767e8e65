#pragma once

#include <QList>
#include <QUrl>
#include <memory>
#include <vector>

#include "platform/ItemProvider.h"

namespace vesko {

// One URL of a drop (an entry of its text/uri-list). Asked for a file URL, it delivers the
// URL's encoded text on a worker thread, as a desktop's drag-and-drop service would.
class UrlItemProvider : public ItemProvider {
public:
    explicit UrlItemProvider(QUrl url) : url_(std::move(url)) {}

    void loadItem(std::string_view typeIdentifier, Completion completion) override;

private:
    QUrl url_;
};

// One provider per URL, in the order of the drop.
std::vector<std::shared_ptr<ItemProvider>> itemProvidersForUrls(const QList<QUrl>& urls);

}  // namespace vesko
