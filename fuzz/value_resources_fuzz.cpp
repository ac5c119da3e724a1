// Feeds arbitrary bytes to the value resource factories as a manifest: scalars, vectors, rectangles,
// colours from text or numbers, arrays of each and random ranges. Every value named in the document is
// then read back as every type; a value of another type must read as missing, never as something else.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <set>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

template <class T>
int Read(Label name)
{
    Constant<T> value(name);
    if (value.IsValid())
    {
        value.GetValue();
        return 1;
    }
    return 0;
}

template <class T>
void ReadArray(Label name)
{
    Constant<std::vector<T>> values(name);
    if (values.IsValid())
        Check(values.GetValue().size() < (1u << 20));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ResourceManager* const manager = []
    {
        ResourceManager* created = GetResourceManager();
        CreateConstantResourceFactories();
        return created;
    }();

    ReadOnlyMemoryStream stream(L"Values.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Values");
    }
    catch (const std::exception&)
    {
    }
    for (const std::wstring& text : Fuzzing::NamesIn(data, size))
    {
        const Label name = Label::FromString(text);
        // A resource is a value of one type at most (the two colour tags share one).
        const int types = Read<bool>(name) + Read<int>(name) + Read<float>(name) + Read<std::wstring>(name) +
                          Read<Vector2<float>>(name) + Read<Vector2<int>>(name) + Read<Rect<float>>(name) +
                          Read<Rect<int>>(name) + Read<ColorF>(name) + Read<RandomRange>(name);
        Check(types <= 1);
        ReadArray<bool>(name);
        ReadArray<int>(name);
        ReadArray<float>(name);
        ReadArray<std::wstring>(name);
        ReadArray<Vector2<float>>(name);
        ReadArray<Rect<float>>(name);
        ReadArray<Rect<int>>(name);
        ReadArray<ColorF>(name);
    }
    manager->Unload(L"Values");
    return 0;
}
