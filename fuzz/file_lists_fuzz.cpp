// Feeds arbitrary bytes as a manifest to the file lists that streamed loading asks of the sound, random
// sound, image and font factories, then has each factory make the resource from the same element. Every
// file the factory opens while it makes the resource must be one its list named (by name and extension,
// letter case aside): a file left off the list would never be fetched into the cache. The file source
// answers every name with a small valid file of the extension asked for, so loading goes as far as it can.

#include "FuzzImages.h"
#include "FuzzSounds.h"
#include "FuzzSupport.h"

#include "audio/OpenALSound.h"
#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceManager.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/ImageResourceFactory.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(AsciiToLower(c));
    return text;
}

// Serves a small file of the kind the extension names, whatever the name, and notes every address asked for.
class RecordingFileSource final : public IFileSource
{
public:
    IStream* OpenFileStream(const FileAddress& address) const override
    {
        const std::wstring name = address.GetName() != nullptr ? address.GetName() : L"";
        const std::wstring extension = Lower(address.GetExtension() != nullptr ? address.GetExtension() : L"");
        opened.emplace(Lower(name), extension);
        std::string bytes;
        if (extension == L".wav")
            bytes = Fuzzing::Beep();
        else if (extension == L".gif")
            bytes = Fuzzing::SmallGif();
        else if (extension == L".png")
            bytes = Fuzzing::SmallPng();
        else if (extension == L".txt")
            bytes = "0 2 0 0 2 2\na 0 2\nb 2 2\n";
        else
            return nullptr;
        auto stream = std::make_unique<MemoryStream>(name + extension);
        stream->Write(bytes.data(), bytes.size());
        stream->Seek(SeekOrigin_Begin, 0);
        return stream.release();
    }

    mutable std::set<std::pair<std::wstring, std::wstring>> opened;
};

bool Listed(const std::list<FileVariant>& files, const std::pair<std::wstring, std::wstring>& file)
{
    for (const FileVariant& variant : files)
    {
        if (Lower(variant.name) != file.first)
            continue;
        for (const std::wstring& extension : variant.extensions)
            if (Lower(extension) == file.second)
                return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static RecordingFileSource* const source = []
    {
        static RecordingFileSource made;
        RegisterSingleton(&made);
        return &made;
    }();
    static const std::map<std::wstring, std::unique_ptr<IResourceFactory>> factories = []
    {
        std::map<std::wstring, std::unique_ptr<IResourceFactory>> made;
        made[L"sound"] = std::make_unique<OpenALSoundResourceFactory>();
        made[L"randomsound"] = std::make_unique<OpenALRandomSoundResourceFactory>();
        made[L"image"] = std::make_unique<ImageResourceFactory>();
        made[L"font"] = std::make_unique<FontResourceFactory>();
        return made;
    }();

    ReadOnlyMemoryStream stream(L"Streamed.xml", data, size);
    int resources = 0;
    try
    {
        auto reader = CreateXMLReader(&stream);
        while (!reader->IsEOF() && resources < 16)
        {
            const XMLElement* element = reader->ReadElement();
            if (element == nullptr)
                break;
            if (!element->IsStartElement())
                continue;
            const auto factory = factories.find(element->GetName());
            if (factory == factories.end())
                continue;
            ++resources;
            // As the loader does: the element's whole subtree, read once and handed over as a copy.
            XMLElementList elements;
            XMLElementReader subtree(reader.get());
            CopyAllElements(subtree, &elements);
            if (elements.GetElements().empty())
                continue;
            const XMLElement first = elements.GetElements().front();
            XMLElementList again;
            int inner = 0;
            for (const XMLElement& copied : elements.GetElements())
            {
                again.AddElement(copied);
                inner += copied.IsStartElement() && copied.GetName() == L"sound" ? 1 : 0;
            }

            std::list<FileVariant> files;
            factory->second->GetFileListForResource(&files, L"Streamed", Label("Fuzz"), first, elements);
            for (const FileVariant& variant : files)
                Check(!variant.extensions.empty());
            if (factory->first == L"randomsound")
                Check(files.size() == static_cast<size_t>(inner));
            else
                Check(files.size() == (factory->first == L"sound" ? 1u : factory->first == L"image" ? 2u : 3u));

            source->opened.clear();
            std::unique_ptr<IResourceDescriptor> made;
            try
            {
                made.reset(factory->second->CreateResource(L"Streamed", Label("Fuzz"), first, again));
            }
            catch (const std::exception&)
            {
                // A factory may refuse an element by throwing; what it opened until then counts all the same.
            }
            for (const auto& opened : source->opened)
                Check(Listed(files, opened));
        }
    }
    catch (const std::exception&)
    {
    }
    return 0;
}
