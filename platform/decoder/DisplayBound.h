#pragma once

namespace vesko {

// The largest area a photo is shown in, in device pixels: the biggest screen's size times its
// device-pixel ratio.
struct DisplayBound {
    int width = 3840;
    int height = 2160;
};

}  // namespace vesko
