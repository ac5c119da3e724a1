// Our XML reader against libexpat and pugixml on the same generated manifest-like document.
// Each reads the whole document and touches every attribute; throughput is in bytes of input per second.

#include "core/MemoryStream.h"
#include "core/XMLReader.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#if STRATA_BENCH_EXPAT
#include <expat.h>
#endif
#if STRATA_BENCH_PUGIXML
#include <pugixml.hpp>
#endif

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace
{

// Thousands of resource elements with many attributes, some text, comments and references; a few MB.
const std::string& Document()
{
    static const std::string document = []
    {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<manifest name=\"bench\" version=\"2\">\n";
        for (int i = 0; text.size() < 4 * 1024 * 1024; ++i)
        {
            const std::string n = std::to_string(i);
            text += "  <!-- group " + n + ": images, strings and a layout -->\n";
            text += "  <image name=\"image_" + n + "\" src=\"art/images/image_" + n +
                    "\" rotations=\"4\" x=\"" + n + "\" y=\"" + std::to_string(i * 7 % 600) +
                    "\" alpha=\"0.75\" visible=\"true\"/>\n";
            text += "  <imagelist name=\"list_" + n + "\" pattern=\"art/frames/frame_%d\" first=\"1\" last=\"24\">\n";
            text += "    <image src=\"art/frames/extra_" + n + "\"/>\n  </imagelist>\n";
            text += "  <string name=\"text_" + n + "\">Caf\xC3\xA9 number " + n +
                    " &amp; more text &lt;here&gt; with &quot;quotes&quot; &#x20AC;5</string>\n";
            text += "  <layout name=\"layout_" + n + "\" screenWidth=\"800\" screenHeight=\"600\" x=\"0\" y=\"0\">\n";
            text += "    <button name=\"play\" x=\"320\" y=\"400\" images=\"buttons\" sounds=\"clicks\" "
                    "text=\"Play &quot;now&quot;\" alphaSensitivity=\"25\"/>\n";
            text += "    <slider name=\"volume\" x=\"100\" y=\"200\" min=\"0\" max=\"100\" value=\"" + n +
                    "\" track=\"slider_track\" thumb=\"slider_thumb\"/>\n  </layout>\n";
        }
        text += "</manifest>\n";
        return text;
    }();
    return document;
}

void BM_StrataXMLReader(benchmark::State& state)
{
    const std::string& document = Document();
    for (auto _ : state)
    {
        Strata::ReadOnlyMemoryStream stream(L"bench.xml", document.data(), document.size());
        auto reader = Strata::CreateXMLReader(&stream);
        size_t touched = 0;
        while (!reader->IsEOF())
        {
            const Strata::XMLElement* element = reader->ReadElement();
            touched += element->GetName().size();
            for (const auto& [name, value] : element->GetAttributes())
            {
                touched += name.size() + value.size();
            }
        }
        benchmark::DoNotOptimize(touched);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_StrataXMLReader)->Unit(benchmark::kMillisecond);

#if STRATA_BENCH_EXPAT
void XMLCALL ExpatStart(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    size_t& touched = *static_cast<size_t*>(userData);
    touched += std::strlen(name);
    for (const XML_Char** a = attributes; *a != nullptr; a += 2)
    {
        touched += std::strlen(a[0]) + std::strlen(a[1]);
    }
}

void XMLCALL ExpatEnd(void* userData, const XML_Char* name)
{
    *static_cast<size_t*>(userData) += std::strlen(name);
}

void XMLCALL ExpatText(void* userData, const XML_Char*, int length)
{
    *static_cast<size_t*>(userData) += static_cast<size_t>(length);
}

void BM_Expat(benchmark::State& state)
{
    const std::string& document = Document();
    for (auto _ : state)
    {
        size_t touched = 0;
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &touched);
        XML_SetElementHandler(parser, ExpatStart, ExpatEnd);
        XML_SetCharacterDataHandler(parser, ExpatText);
        if (XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) != XML_STATUS_OK)
        {
            state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser)));
        }
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(touched);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_Expat)->Unit(benchmark::kMillisecond);
#endif

#if STRATA_BENCH_PUGIXML
size_t Walk(const pugi::xml_node& node)
{
    size_t touched = std::strlen(node.name()) + std::strlen(node.value());
    for (const pugi::xml_attribute& attribute : node.attributes())
    {
        touched += std::strlen(attribute.name()) + std::strlen(attribute.value());
    }
    for (const pugi::xml_node& child : node.children())
    {
        touched += Walk(child);
    }
    return touched;
}

void BM_Pugixml(benchmark::State& state)
{
    const std::string& document = Document();
    for (auto _ : state)
    {
        pugi::xml_document parsed;
        const pugi::xml_parse_result result = parsed.load_buffer(document.data(), document.size());
        if (!result)
        {
            state.SkipWithError(result.description());
        }
        benchmark::DoNotOptimize(Walk(parsed));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
    {
        return 1;
    }
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double ours = reporter.Counter("BM_StrataXMLReader", "bytes_per_second");
    const double expat = reporter.Counter("BM_Expat", "bytes_per_second");
    const double pugixml = reporter.Counter("BM_Pugixml", "bytes_per_second");
    std::printf("Document %.2f MB. Strata XML reader: %.1f MB/s", static_cast<double>(Document().size()) / 1e6,
                ours / 1e6);
    if (expat > 0.0)
    {
        std::printf(", %.2fx libexpat (%.1f MB/s)", ours / expat, expat / 1e6);
    }
    if (pugixml > 0.0)
    {
        std::printf(", %.2fx pugixml (%.1f MB/s)", ours / pugixml, pugixml / 1e6);
    }
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_StrataXMLReader"));
    return 0;
}
