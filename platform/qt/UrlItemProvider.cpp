#include "UrlItemProvider.h"

#include <QThreadPool>

namespace vesko {

void UrlItemProvider::loadItem(std::string_view typeIdentifier, Completion completion) {
    std::optional<Item> item;
    if (typeIdentifier == kFileUrlType) {
        const QByteArray text = url_.toEncoded();
        item = ItemBytes(text.begin(), text.end());
    }
    QThreadPool::globalInstance()->start(
        [item = std::move(item), completion = std::move(completion)]() mutable {
            completion(std::move(item), std::nullopt);
        });
}

std::vector<std::shared_ptr<ItemProvider>> itemProvidersForUrls(const QList<QUrl>& urls) {
    std::vector<std::shared_ptr<ItemProvider>> providers;
    providers.reserve(urls.size());
    for (const QUrl& url : urls) {
        providers.push_back(std::make_shared<UrlItemProvider>(url));
    }
    return providers;
}

}  // namespace vesko
