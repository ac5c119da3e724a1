#pragma once

#include "core/Color.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{

class IStream;

// PNG and baseline JPEG front ends. Each reads GetLength bytes of a freshly opened stream (through its
// zero-copy read when it offers one; a stream that yields fewer bytes fails), checks the file's signature and decodes
// it into width × height pixels, bytes blue, green, red, alpha; JPEG pixels are opaque. Sides of 0 or above
// kMaxImageSide are refused. On failure they return an empty vector, leave the out-parameters unchanged and, when
// `reason` is given, point it at a short static text; they write no log line. They never throw.
std::vector<Color32> JPGLoadImage(IStream* stream, int* width, int* height, const char** reason = nullptr);
// `hasAlphaChannel`, when given, tells whether the file itself holds alpha (grey + alpha or RGBA).
std::vector<Color32> PNGLoadImage(IStream* stream, int* width, int* height, bool* hasAlphaChannel = nullptr,
                                  const char** reason = nullptr);

// Mask compositors: decode the mask and write its values into the alpha bytes of `pixels` (width ×
// height), keeping blue, green and red. The alpha is the mask's grey level, (red + green + blue) / 3 of
// the mask pixel (of its palette colour for a GIF); a PNG mask that has an alpha channel gives its alpha
// instead. True when the mask was applied. A mask that cannot be decoded logs
// "Image Mask <imageName> could not be loaded. (<reason>)" and one of another size logs
// "Image <imageName> had an alpha mask that was the wrong size."; both leave the pixels unchanged and
// return false. Null arguments or a size out of range return false without a line. Never throw.
bool LoadAndCompositeGIFMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName);
bool LoadAndCompositePNGMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName);
bool LoadAndCompositeJPGMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName);

namespace Internal
{

enum class StbFormat
{
    Png,
    Jpeg
};

// The one way into stb_image. Decodes `length` bytes that must carry the signature of `format`.
// `channels` gets the file's own channel count (1 grey, 2 grey + alpha, 3 RGB, 4 RGBA). Empty on
// failure, with the reason.
std::vector<Color32> DecodeStbImage(StbFormat format, const uint8_t* data, size_t length, int& width, int& height,
                                    int& channels, const char** reason);

} // namespace Internal

} // namespace Strata
