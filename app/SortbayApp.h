#pragma once

namespace vesko {

// The application: one window, ContentView, with its classifier wired to the desktop.
class SortbayApp {
public:
    int run(int argc, char** argv);
};

}  // namespace vesko
