#pragma once

#include "core/Color.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Strata::Testing
{

// Image i of a list is opaque, its red channel i * 10 + 10.
inline Image* StateImage(int i, int width, int height)
{
    return new Image(std::vector<Color32>(static_cast<size_t>(width) * height,
                                          Color32(static_cast<uint8_t>(i * 10 + 10), 0, 0, 255)),
                     width, height, true, false);
}

inline std::unique_ptr<ImageList> StateList(int count, int width, int height)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < count; ++i)
        list->AddOwnedImage(StateImage(i, width, height));
    return list;
}

} // namespace Strata::Testing
