#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/CaptureReader.h"

namespace vesko {

// Tells the facts it was given for a file at once, on the calling thread; nothing of others.
class FakeCaptureReader : public CaptureReader {
public:
    std::map<std::string, ShootingFacts> facts;

    void readAhead(std::vector<std::string> files, Delivery deliver) override {
        for (const std::string& file : files) {
            if (const auto found = facts.find(file); found != facts.end()) {
                deliver(file, found->second);
            }
        }
    }
};

}  // namespace vesko
