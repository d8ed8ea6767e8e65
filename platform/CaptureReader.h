#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ShootingFacts.h"

namespace vesko {

// Reads how photos were taken ahead of the user, so that their capture times are known before
// they are shown, without the listing opening a file.
class CaptureReader {
public:
    using Delivery = std::function<void(const std::string& file, const ShootingFacts& facts)>;

    virtual ~CaptureReader() = default;

    // Reads the facts of `files`, soonest first, in place of whatever was asked before, and
    // hands each to `deliver`, on any thread. Does not wait for a read. Once the reader is
    // destroyed nothing more is delivered. Called from one thread.
    virtual void readAhead(std::vector<std::string> files, Delivery deliver) = 0;
};

}  // namespace vesko
