#pragma once

#include "TestImages.h"

// HEIC files as phones write them: 4:2:0, and tiled into a grid of separately coded images.
namespace vesko::testimages {

// A grid image of `columns` x `rows` tiles cut from `picture`, each coded on its own; the
// right and bottom tiles reach past the picture, and the grid crops them, as in phone files.
// libheif 1.15 cannot write grids, so the boxes are assembled here around its coded tiles.
Bytes encodeHeicGrid(const Picture& picture, int tileSize, int quality = 60);

}  // namespace vesko::testimages
