#pragma once

#include <vector>

#include "platform/Desktop.h"
#include "platform/FolderChooser.h"

namespace vesko {

// Remembers every folder it was asked to show.
class RecordingDesktop : public Desktop {
public:
    void showFolder(const std::filesystem::path& folder) override { shown.push_back(folder); }

    std::vector<std::filesystem::path> shown;
};

// Answers each chooser with a fixed result; counts how often it was shown.
class ScriptedFolderChooser : public FolderChooser {
public:
    std::optional<std::filesystem::path> chooseFolder() override {
        ++timesShown;
        return answer;
    }

    std::optional<std::filesystem::path> answer;
    int timesShown = 0;
};

}  // namespace vesko
