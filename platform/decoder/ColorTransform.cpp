#include "platform/decoder/ColorTransform.h"

#include <lcms2.h>

#include <cmath>
#include <memory>

namespace vesko::decoder {
namespace {

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;
using Transform = std::unique_ptr<void, TransformDeleter>;

Profile openIcc(std::span<const std::uint8_t> icc) {
    if (icc.empty() || icc.size() > (1u << 26)) return nullptr;
    return Profile(cmsOpenProfileFromMem(icc.data(), cmsUInt32Number(icc.size())));
}

bool sameXyz(cmsHPROFILE a, cmsHPROFILE b, cmsTagSignature tag) {
    const auto* x = static_cast<const cmsCIEXYZ*>(cmsReadTag(a, tag));
    const auto* y = static_cast<const cmsCIEXYZ*>(cmsReadTag(b, tag));
    if (!x || !y) return false;
    constexpr double kTolerance = 0.002;
    return std::fabs(x->X - y->X) < kTolerance && std::fabs(x->Y - y->Y) < kTolerance &&
           std::fabs(x->Z - y->Z) < kTolerance;
}

bool sameCurve(cmsHPROFILE a, cmsHPROFILE b, cmsTagSignature tag) {
    const auto* x = static_cast<const cmsToneCurve*>(cmsReadTag(a, tag));
    const auto* y = static_cast<const cmsToneCurve*>(cmsReadTag(b, tag));
    if (!x || !y) return false;
    for (const float at : {0.02f, 0.1f, 0.3f, 0.5f, 0.7f, 0.9f}) {
        if (std::fabs(cmsEvalToneCurveFloat(x, at) - cmsEvalToneCurveFloat(y, at)) > 0.004f) {
            return false;
        }
    }
    return true;
}

// Most photos that carry a profile carry sRGB itself; converting them would only cost time.
bool isSrgb(cmsHPROFILE profile, cmsHPROFILE srgb) {
    if (cmsIsTag(profile, cmsSigAToB0Tag)) return false;
    return sameXyz(profile, srgb, cmsSigRedColorantTag) &&
           sameXyz(profile, srgb, cmsSigGreenColorantTag) &&
           sameXyz(profile, srgb, cmsSigBlueColorantTag) &&
           sameCurve(profile, srgb, cmsSigRedTRCTag) &&
           sameCurve(profile, srgb, cmsSigGreenTRCTag) &&
           sameCurve(profile, srgb, cmsSigBlueTRCTag);
}

void transformRows(Raster& raster, cmsHTRANSFORM transform) {
    for (int y = 0; y < raster.height; ++y) {
        cmsDoTransform(transform, raster.row(y), raster.row(y), cmsUInt32Number(raster.width));
    }
}

void convertRgbToSrgb(Raster& raster, cmsHPROFILE source) {
    if (!source || cmsGetColorSpace(source) != cmsSigRgbData) return;
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb || isSrgb(source, srgb.get())) return;
    const Transform transform(cmsCreateTransform(source, TYPE_RGBA_8, srgb.get(), TYPE_RGBA_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA));
    if (!transform) return;
    if (raster.hasAlpha && raster.premultiplied) {
        unpremultiply(raster.pixels.data(), raster.pixels.size() / 4);
        raster.premultiplied = false;
    }
    transformRows(raster, transform.get());
}

// Primaries and white point as CIE xy, from ITU-T H.273.
bool primariesFor(int code, cmsCIExyYTRIPLE& primaries, cmsCIExyY& white) {
    white = {0.3127, 0.3290, 1.0};
    switch (code) {
        case 9:
            primaries = {{0.708, 0.292, 1}, {0.170, 0.797, 1}, {0.131, 0.046, 1}};
            return true;
        case 11:
            white = {0.314, 0.351, 1.0};
            [[fallthrough]];
        case 12:
            primaries = {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
            return true;
        default:
            return false;
    }
}

// Photos are display-referred: every transfer but linear is shown with the sRGB curve, as
// browsers do for stills.
cmsToneCurve* curveFor(int transfer) {
    if (transfer == 8) return cmsBuildGamma(nullptr, 1.0);
    const double srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, srgb);
}

Profile profileFor(CodedColor color) {
    cmsCIExyYTRIPLE primaries;
    cmsCIExyY white;
    if (!primariesFor(color.primaries, primaries, white)) return nullptr;
    cmsToneCurve* curve = curveFor(color.transfer);
    if (!curve) return nullptr;
    cmsToneCurve* curves[3] = {curve, curve, curve};
    Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return profile;
}

std::uint8_t inkToLight(unsigned ink, unsigned black) {
    return std::uint8_t(((255 - ink) * (255 - black) + 127) / 255);
}

void convertCmykByFormula(Raster& raster, bool inverted) {
    std::uint8_t* pixel = raster.pixels.data();
    for (std::size_t i = 0, n = raster.pixels.size() / 4; i < n; ++i, pixel += 4) {
        unsigned ink[4] = {pixel[0], pixel[1], pixel[2], pixel[3]};
        if (inverted) {
            for (unsigned& value : ink) value = 255 - value;
        }
        pixel[0] = inkToLight(ink[0], ink[3]);
        pixel[1] = inkToLight(ink[1], ink[3]);
        pixel[2] = inkToLight(ink[2], ink[3]);
        pixel[3] = 255;
    }
}

bool convertCmykByProfile(Raster& raster, std::span<const std::uint8_t> icc, bool inverted) {
    const Profile source = openIcc(icc);
    if (!source || cmsGetColorSpace(source.get()) != cmsSigCmykData) return false;
    const Profile srgb(cmsCreate_sRGBProfile());
    const Transform transform(cmsCreateTransform(source.get(),
                                                 inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8,
                                                 srgb.get(), TYPE_RGBA_8, INTENT_PERCEPTUAL, 0));
    if (!transform) return false;
    // The output keeps the 4-byte layout, but lcms leaves the alpha byte untouched.
    transformRows(raster, transform.get());
    std::uint8_t* pixel = raster.pixels.data();
    for (std::size_t i = 0, n = raster.pixels.size() / 4; i < n; ++i) pixel[i * 4 + 3] = 255;
    return true;
}

}  // namespace

void convertIccToSrgb(Raster& raster, std::span<const std::uint8_t> iccProfile) {
    const Profile source = openIcc(iccProfile);
    convertRgbToSrgb(raster, source.get());
}

void convertCodedToSrgb(Raster& raster, CodedColor color) {
    const Profile source = profileFor(color);
    convertRgbToSrgb(raster, source.get());
}

void convertAdobeRgbToSrgb(Raster& raster) {
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}};
    cmsToneCurve* curve = cmsBuildGamma(nullptr, 563.0 / 256.0);
    if (!curve) return;
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const Profile source(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    convertRgbToSrgb(raster, source.get());
}

void convertCmykToSrgb(Raster& raster, std::span<const std::uint8_t> iccProfile, bool inverted) {
    raster.hasAlpha = false;
    if (!convertCmykByProfile(raster, iccProfile, inverted)) convertCmykByFormula(raster, inverted);
}

}  // namespace vesko::decoder
