#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CaptureReader.h"

namespace vesko {

// Reads facts on a thread of its own at the lowest priority there is, so that it runs only
// while the decoders and the window leave a core idle. Its destruction waits for no read: the
// thread finishes the one it is in on its own, and delivers nothing after.
class AheadFactsReader : public CaptureReader {
public:
    using Read = std::function<ShootingFacts(const std::string& file)>;

    explicit AheadFactsReader(Read read);
    ~AheadFactsReader() override;
    AheadFactsReader(const AheadFactsReader&) = delete;
    AheadFactsReader& operator=(const AheadFactsReader&) = delete;

    void readAhead(std::vector<std::string> files, Delivery deliver) override;

private:
    struct Shared;
    static void work(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
};

}  // namespace vesko
