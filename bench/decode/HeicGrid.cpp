#include "HeicGrid.h"

#include <libheif/heif.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string_view>

namespace vesko::testimages {
namespace {

// One picture as libheif's HEVC encoder writes it: RGB in 4:2:0, as phones store it.
void check(heif_error error) {
    if (error.code != heif_error_Ok) throw std::runtime_error(error.message);
}

heif_error appendHeif(heif_context*, const void* data, size_t size, void* userdata) {
    auto* bytes = static_cast<Bytes*>(userdata);
    const auto* from = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

Bytes encodeHeic(const Picture& picture, int quality) {
    heif_image* image = nullptr;
    check(heif_image_create(picture.width, picture.height, heif_colorspace_RGB,
                            heif_chroma_interleaved_RGB, &image));
    check(heif_image_add_plane(image, heif_channel_interleaved, picture.width, picture.height, 8));
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* out = plane + std::size_t(y) * stride;
        for (int x = 0; x < picture.width; ++x, out += 3) {
            const Rgba p = picture.at(x, y);
            out[0] = p.r, out[1] = p.g, out[2] = p.b;
        }
    }
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    check(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder));
    check(heif_encoder_set_lossy_quality(encoder, quality));
    check(heif_encoder_set_parameter(encoder, "chroma", "420"));
    heif_encoding_options* encoding = heif_encoding_options_alloc();
    // Left alone, libheif 1.15 leaves the colour description out for old macOS readers.
    encoding->macOS_compatibility_workaround_no_nclx_profile = true;
    check(heif_context_encode_image(context, image, encoder, encoding, nullptr));
    Bytes bytes;
    heif_writer writer{1, appendHeif};
    check(heif_context_write(context, &writer, &bytes));
    heif_encoding_options_free(encoding);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

// A tile of the picture; past the picture's edge it repeats the last pixel, as encoders pad.
Picture tileOf(const Picture& picture, int x0, int y0, int size) {
    Picture tile(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            tile.at(x, y) = picture.at(std::min(x0 + x, picture.width - 1),
                                       std::min(y0 + y, picture.height - 1));
        }
    }
    return tile;
}

// ---- Reading the boxes of a file libheif wrote

struct Box {
    std::string_view type;
    std::span<const std::uint8_t> payload;
};

std::uint32_t read32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

Box child(std::span<const std::uint8_t> within, std::string_view type) {
    for (std::size_t at = 0; at + 8 <= within.size();) {
        const std::size_t size = read32(within.data() + at);
        if (size < 8 || size > within.size() - at) break;
        const std::string_view name(reinterpret_cast<const char*>(within.data() + at + 4), 4);
        if (name == type) return {name, within.subspan(at + 8, size - 8)};
        at += size;
    }
    throw std::runtime_error("no " + std::string(type) + " box");
}

struct CodedTile {
    Bytes hvcC;  // the configuration box, whole
    Bytes data;  // the picture's NAL units, each behind its length
};

// A file with one image and nothing else keeps that image's data, and only it, in mdat.
CodedTile codedTile(const Bytes& file) {
    const Box meta = child(file, "meta");
    const auto properties = child(child(meta.payload.subspan(4), "iprp").payload, "ipco").payload;
    const Box hvcC = child(properties, "hvcC");
    const Box mdat = child(file, "mdat");
    CodedTile tile;
    tile.hvcC.assign(hvcC.payload.data() - 8, hvcC.payload.data() + hvcC.payload.size());
    tile.data.assign(mdat.payload.begin(), mdat.payload.end());
    return tile;
}

// ---- Writing the grid file

void put16(Bytes& out, unsigned value) {
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}
void put32(Bytes& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}
void putType(Bytes& out, std::string_view type) { out.insert(out.end(), type.begin(), type.end()); }

Bytes box(std::string_view type, const Bytes& payload) {
    Bytes out;
    put32(out, std::uint32_t(payload.size() + 8));
    putType(out, type);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}
Bytes fullBox(std::string_view type, int version, std::uint32_t flags, const Bytes& payload) {
    Bytes body;
    put32(body, std::uint32_t(version) << 24 | flags);
    body.insert(body.end(), payload.begin(), payload.end());
    return box(type, body);
}
void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

struct Grid {
    int columns, rows, tileSize, width, height;
    std::vector<CodedTile> tiles;
    int gridItem() const { return int(tiles.size()) + 1; }  // tiles are items 1 to n
};

Bytes gridDescription(const Grid& grid) {
    Bytes out{0, 0, std::uint8_t(grid.rows - 1), std::uint8_t(grid.columns - 1)};
    put16(out, unsigned(grid.width));
    put16(out, unsigned(grid.height));
    return out;
}

Bytes itemInfos(const Grid& grid) {
    Bytes entries;
    put16(entries, unsigned(grid.gridItem()));
    for (int item = 1; item <= grid.gridItem(); ++item) {
        Bytes infe;
        put16(infe, unsigned(item));
        put16(infe, 0);
        putType(infe, item == grid.gridItem() ? "grid" : "hvc1");
        infe.push_back(0);
        append(entries, fullBox("infe", 2, item == grid.gridItem() ? 0 : 1, infe));  // 1: hidden
    }
    return fullBox("iinf", 0, 0, entries);
}

// Every item has one extent in mdat; the grid's description comes first.
Bytes itemLocations(const Grid& grid, std::uint32_t mdatPayloadAt) {
    Bytes body{0x44, 0x00};  // four-byte offsets and lengths, no base offset
    put16(body, unsigned(grid.gridItem()));
    std::uint32_t at = mdatPayloadAt + std::uint32_t(gridDescription(grid).size());
    for (int item = 1; item <= grid.gridItem(); ++item) {
        const bool isGrid = item == grid.gridItem();
        const auto length =
            std::uint32_t(isGrid ? gridDescription(grid).size() : grid.tiles[item - 1].data.size());
        put16(body, unsigned(item));
        put16(body, 0);  // construction method: file offset
        put16(body, 0);  // this file
        put16(body, 1);
        put32(body, isGrid ? mdatPayloadAt : at);
        put32(body, length);
        if (!isGrid) at += length;
    }
    return fullBox("iloc", 1, 0, body);
}

Bytes spatialExtent(int width, int height) {
    Bytes body;
    put32(body, std::uint32_t(width));
    put32(body, std::uint32_t(height));
    return fullBox("ispe", 0, 0, body);
}

// Properties: each tile's hvcC (1 to n), the tiles' ispe (n + 1), the grid's ispe (n + 2).
Bytes itemProperties(const Grid& grid) {
    const int n = int(grid.tiles.size());
    Bytes container;
    for (const CodedTile& tile : grid.tiles) append(container, tile.hvcC);
    append(container, spatialExtent(grid.tileSize, grid.tileSize));
    append(container, spatialExtent(grid.width, grid.height));
    Bytes associations;
    put32(associations, std::uint32_t(grid.gridItem()));
    for (int item = 1; item <= n; ++item) {
        put16(associations, unsigned(item));
        associations.push_back(2);
        associations.push_back(std::uint8_t(0x80 | item));  // essential
        associations.push_back(std::uint8_t(n + 1));
    }
    put16(associations, unsigned(grid.gridItem()));
    associations.push_back(1);
    associations.push_back(std::uint8_t(n + 2));
    Bytes iprp = box("ipco", container);
    append(iprp, fullBox("ipma", 0, 0, associations));
    return box("iprp", iprp);
}

Bytes metaBox(const Grid& grid, std::uint32_t mdatPayloadAt) {
    Bytes handler(4, 0);
    putType(handler, "pict");
    handler.resize(handler.size() + 13, 0);
    Bytes primary;
    put16(primary, unsigned(grid.gridItem()));
    Bytes references;
    put16(references, unsigned(grid.gridItem()));
    put16(references, unsigned(grid.tiles.size()));
    for (int item = 1; item <= int(grid.tiles.size()); ++item) put16(references, unsigned(item));
    Bytes body = fullBox("hdlr", 0, 0, handler);
    append(body, fullBox("pitm", 0, 0, primary));
    append(body, itemLocations(grid, mdatPayloadAt));
    append(body, itemInfos(grid));
    append(body, fullBox("iref", 0, 0, box("dimg", references)));
    append(body, itemProperties(grid));
    return fullBox("meta", 0, 0, body);
}

Bytes gridFile(const Grid& grid) {
    Bytes brands;
    putType(brands, "heic");
    put32(brands, 0);
    putType(brands, "mif1");
    putType(brands, "heic");
    Bytes file = box("ftyp", brands);
    // The meta box's size does not depend on where mdat lands: measure, then write for real.
    const std::size_t metaSize = metaBox(grid, 0).size();
    const auto mdatPayloadAt = std::uint32_t(file.size() + metaSize + 8);
    append(file, metaBox(grid, mdatPayloadAt));
    Bytes mdat = gridDescription(grid);
    for (const CodedTile& tile : grid.tiles) append(mdat, tile.data);
    append(file, box("mdat", mdat));
    return file;
}

}  // namespace

Bytes encodeHeicGrid(const Picture& picture, int tileSize, int quality) {
    Grid grid{(picture.width + tileSize - 1) / tileSize,
              (picture.height + tileSize - 1) / tileSize,
              tileSize,
              picture.width,
              picture.height,
              {}};
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const Picture tile = tileOf(picture, column * tileSize, row * tileSize, tileSize);
            grid.tiles.push_back(codedTile(encodeHeic(tile, quality)));
        }
    }
    return gridFile(grid);
}

}  // namespace vesko::testimages
