#include "ops_quantise.h"

#include "ops_common.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <libimagequant.h>
#include <memory>
#include <new>
#include <vector>

namespace pelmix {

namespace {

struct LiqDelete {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
template <typename T> using LiqPtr = std::unique_ptr<T, LiqDelete>;

// A new palette image of source's size and resolution with a zeroed colour table.
HGLOBAL createPaletteDib(const DibView& source, uint16_t bits) {
    HGLOBAL handle = createDib(source.width(), source.height(), bits);
    if (handle != nullptr) {
        DibView out(handle);
        copyResolution(source.header(), out.header());
    }
    return handle;
}

HGLOBAL quantiseOptimal(const DibView& source, uint16_t bits, bool dither) {
    const int32_t width = source.width();
    const int32_t height = source.height();
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgba;
    std::vector<uint8_t> indices;
    try {
        rgba.resize(pixels * 4);
        indices.resize(pixels);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    for (int32_t y = 0; y < height; ++y) {
        readRowRgba(source, y, rgba.data() + static_cast<size_t>(y) * width * 4);
    }

    LiqPtr<liq_attr> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), 1 << bits) != LIQ_OK) {
        return nullptr;
    }
    LiqPtr<liq_image> picture(liq_image_create_rgba(attr.get(), rgba.data(), width, height, 0.0));
    if (!picture) {
        return nullptr;
    }
    liq_result* raw = nullptr;
    const liq_error quantised = liq_image_quantize(picture.get(), attr.get(), &raw);
    LiqPtr<liq_result> result(raw);
    if (quantised != LIQ_OK || !result ||
        liq_set_dithering_level(result.get(), dither ? 1.0f : 0.0f) != LIQ_OK ||
        liq_write_remapped_image(result.get(), picture.get(), indices.data(), indices.size()) !=
            LIQ_OK) {
        return nullptr;
    }
    // The palette is only final after remapping.
    const liq_palette* palette = liq_get_palette(result.get());
    if (palette == nullptr || palette->count > (1u << bits)) {
        return nullptr;
    }

    HGLOBAL handle = createPaletteDib(source, bits);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView out(handle);
    for (uint32_t i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        out.colours()[i] = Rgbq{c.b, c.g, c.r, 0};
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = indices.data() + static_cast<size_t>(y) * width;
        uint8_t* row = out.row(y);
        if (bits == 8) {
            std::memcpy(row, in, static_cast<size_t>(width));
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            setIndexAt(row, x, bits, in[x]);
        }
    }
    return handle;
}

HGLOBAL quantiseGrey(const DibView& source, uint16_t bits, bool dither) {
    const int32_t width = source.width();
    const int32_t levels = 1 << bits;
    const int32_t step = 255 / (levels - 1);
    // Diffusing the rounding error only matters when the ramp is coarse.
    const bool diffuse = dither && bits == 4;
    std::vector<uint8_t> rgba;
    std::vector<float> errors;
    std::vector<float> nextErrors;
    try {
        rgba.resize(static_cast<size_t>(width) * 4);
        if (diffuse) {
            errors.assign(static_cast<size_t>(width) + 2, 0.0f);
            nextErrors.assign(static_cast<size_t>(width) + 2, 0.0f);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    HGLOBAL handle = createPaletteDib(source, bits);
    if (handle == nullptr) {
        return nullptr;
    }
    DibView out(handle);
    for (int32_t i = 0; i < levels; ++i) {
        const auto grey = static_cast<uint8_t>(i * step);
        out.colours()[i] = Rgbq{grey, grey, grey, 0};
    }
    for (int32_t y = 0; y < source.height(); ++y) {
        readRowRgba(source, y, rgba.data());
        uint8_t* row = out.row(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = rgba.data() + 4 * static_cast<size_t>(x);
            float luminance = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
            if (diffuse) {
                luminance += errors[x + 1];
            }
            const auto level =
                static_cast<int32_t>(std::clamp(std::lround(luminance / static_cast<float>(step)),
                                                0L, static_cast<long>(levels - 1)));
            setIndexAt(row, x, bits, static_cast<uint8_t>(level));
            if (diffuse) {
                // Floyd-Steinberg: the error goes right and to the three pixels below.
                const float error = luminance - static_cast<float>(level * step);
                errors[x + 2] += error * (7.0f / 16);
                nextErrors[x] += error * (3.0f / 16);
                nextErrors[x + 1] += error * (5.0f / 16);
                nextErrors[x + 2] += error * (1.0f / 16);
            }
        }
        if (diffuse) {
            errors.swap(nextErrors);
            std::fill(nextErrors.begin(), nextErrors.end(), 0.0f);
        }
    }
    return handle;
}

} // namespace

HGLOBAL quantisedCopy(const DibView& source, uint16_t bits, bool dither, bool greyRamp) {
    if ((bits != 4 && bits != 8) || source.bitCount() > 24 || source.bitCount() == 16) {
        return nullptr;
    }
    return greyRamp ? quantiseGrey(source, bits, dither) : quantiseOptimal(source, bits, dither);
}

} // namespace pelmix
