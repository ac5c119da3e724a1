#pragma once

#include <memory>
#include <utility>

namespace Strata
{

class IImageList;
class IResourceDescriptor;

// The image list a control draws with. A list found as a resource comes with a counted reference to
// its descriptor, so unloading the manifest that made it cannot free it while the control lives (as
// sprites hold their images); a plain pointer is a list its owner keeps alive for the control.
class ImageListHandle
{
public:
    ImageListHandle() = default;
    ImageListHandle(const IImageList* list) : mList(list) {}
    ImageListHandle(const IImageList* list, std::shared_ptr<IResourceDescriptor> keepAlive)
        : mList(list), mKeepAlive(list ? std::move(keepAlive) : nullptr)
    {
    }

    const IImageList* Get() const { return mList; }
    operator const IImageList*() const { return mList; }
    const IImageList* operator->() const { return mList; }
    // Whether the list is held by a counted reference.
    bool IsHeld() const { return mKeepAlive != nullptr; }

private:
    const IImageList* mList = nullptr;
    std::shared_ptr<IResourceDescriptor> mKeepAlive;
};

} // namespace Strata
