// Our XML reader against libexpat and pugixml on the same generated manifest-like document.
// Each reads the whole document and touches every tag, attribute and text, after a first pass has
// checked that all three see the same tags and attributes; throughput is in bytes of input per second.
// Then one tag of very many attributes, given in the map's order, reversed and shuffled: the reader sorts
// a tag's attributes, and the orders it was not given must cost about what the sorted one costs.

#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#if STRATA_BENCH_EXPAT
#include <expat.h>
#endif
#if STRATA_BENCH_PUGIXML
#include <pugixml.hpp>
#endif

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

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
            text += "  <image name=\"image_" + n + "\" src=\"art/images/image_" + n + "\" rotations=\"4\" x=\"" + n +
                    "\" y=\"" + std::to_string(i * 7 % 600) + "\" alpha=\"0.75\" visible=\"true\"/>\n";
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

// Every parser touches the same things in its timed loop: one character of each tag, attribute name,
// attribute value and text, where the parser hands them out. No strlen: our reader hands out sized
// strings, and measuring C strings would charge the references for work ours never does.
inline size_t Touch(const char* text)
{
    return static_cast<unsigned char>(text[0]);
}

inline size_t Touch(const std::wstring& text)
{
    return text.empty() ? 0 : static_cast<size_t>(text[0]);
}

// What a parser saw, to check the three agree before any is timed: each start tag with its attributes in
// name order, as UTF-8.
using Listing = std::vector<std::string>;

std::string Utf8(const std::wstring& text)
{
    return reinterpret_cast<const char*>(Strata::ConvertStringWideToUTF8(text.c_str()).get());
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

void AddTag(Listing& listing, const std::string& name, Attributes attributes)
{
    std::sort(attributes.begin(), attributes.end());
    std::string line = name;
    for (const auto& [attribute, value] : attributes)
        line += ' ' + attribute + "=\"" + value + '"';
    listing.push_back(std::move(line));
}

Listing ListStrata()
{
    const std::string& document = Document();
    Strata::ReadOnlyMemoryStream stream(L"bench.xml", document.data(), document.size());
    auto reader = Strata::CreateXMLReader(&stream);
    Listing listing;
    while (!reader->IsEOF())
    {
        const Strata::XMLElement* element = reader->ReadElement();
        if (element->IsStartElement())
        {
            Attributes attributes;
            for (const auto& [name, value] : element->GetAttributes())
                attributes.emplace_back(Utf8(name), Utf8(value));
            AddTag(listing, Utf8(element->GetName()), std::move(attributes));
        }
    }
    return listing;
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
            touched += Touch(element->GetName());
            for (const auto& [name, value] : element->GetAttributes())
                touched += Touch(name) + Touch(value);
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
    touched += Touch(name);
    for (const XML_Char** a = attributes; *a != nullptr; a += 2)
        touched += Touch(a[0]) + Touch(a[1]);
}

void XMLCALL ExpatEnd(void* userData, const XML_Char* name)
{
    *static_cast<size_t*>(userData) += Touch(name);
}

void XMLCALL ExpatText(void* userData, const XML_Char* text, int)
{
    *static_cast<size_t*>(userData) += Touch(text);
}

void XMLCALL ExpatList(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    Attributes pairs;
    for (const XML_Char** a = attributes; *a != nullptr; a += 2)
        pairs.emplace_back(a[0], a[1]);
    AddTag(*static_cast<Listing*>(userData), name, std::move(pairs));
}

// False, with the reason in `error`, when the document does not parse.
bool ParseWithExpat(void* userData, XML_StartElementHandler start, XML_EndElementHandler end,
                    XML_CharacterDataHandler text, std::string* error)
{
    const std::string& document = Document();
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, userData);
    XML_SetElementHandler(parser, start, end);
    XML_SetCharacterDataHandler(parser, text);
    const bool parsed = XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
    if (!parsed && error)
        *error = XML_ErrorString(XML_GetErrorCode(parser));
    XML_ParserFree(parser);
    return parsed;
}

Listing ListExpat()
{
    Listing listing;
    std::string error;
    if (!ParseWithExpat(&listing, ExpatList, nullptr, nullptr, &error))
        listing.push_back("error: " + error);
    return listing;
}

void BM_Expat(benchmark::State& state)
{
    for (auto _ : state)
    {
        size_t touched = 0;
        std::string error;
        if (!ParseWithExpat(&touched, ExpatStart, ExpatEnd, ExpatText, &error))
        {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(touched);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Document().size()));
}
BENCHMARK(BM_Expat)->Unit(benchmark::kMillisecond);
#endif

#if STRATA_BENCH_PUGIXML
size_t Walk(const pugi::xml_node& node)
{
    size_t touched = Touch(node.name()) + Touch(node.value());
    for (const pugi::xml_attribute& attribute : node.attributes())
        touched += Touch(attribute.name()) + Touch(attribute.value());
    for (const pugi::xml_node& child : node.children())
        touched += Walk(child);
    return touched;
}

void ListTags(const pugi::xml_node& node, Listing& listing)
{
    if (node.type() == pugi::node_element)
    {
        Attributes attributes;
        for (const pugi::xml_attribute& attribute : node.attributes())
            attributes.emplace_back(attribute.name(), attribute.value());
        AddTag(listing, node.name(), std::move(attributes));
    }
    for (const pugi::xml_node& child : node.children())
        ListTags(child, listing);
}

Listing ListPugixml()
{
    const std::string& document = Document();
    pugi::xml_document parsed;
    const pugi::xml_parse_result result = parsed.load_buffer(document.data(), document.size());
    if (!result)
        return {std::string("error: ") + result.description()};
    Listing listing;
    ListTags(parsed, listing);
    return listing;
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
            break;
        }
        benchmark::DoNotOptimize(Walk(parsed));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);
#endif

// One tag of many attributes, and the orders its attributes come in.
enum class eAttributeOrder
{
    Sorted,
    Reversed,
    Shuffled,
};

const char* const kAttributeOrderNames[] = {"sorted", "reversed", "shuffled"};
constexpr size_t kAttributeCounts[] = {1000, 10000, 100000};

// <tag a0="0" a1="1" .../> with `count` attributes in the given order (shuffled from a fixed seed).
std::string OneTag(size_t count, eAttributeOrder order)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back("attribute" + std::to_string(i));
    std::sort(names.begin(), names.end());
    if (order == eAttributeOrder::Reversed)
        std::reverse(names.begin(), names.end());
    else if (order == eAttributeOrder::Shuffled)
        std::shuffle(names.begin(), names.end(), std::mt19937(20260101));
    std::string text = "<tag";
    for (const std::string& name : names)
        text += " " + name + "=\"" + name.substr(9) + "\"";
    return text + "/>\n";
}

std::string OneTagBenchmarkName(size_t count, eAttributeOrder order)
{
    return "BM_OneTag_" + std::to_string(count) + "_" + kAttributeOrderNames[static_cast<int>(order)];
}

void BM_OneTag(benchmark::State& state, size_t count, eAttributeOrder order)
{
    const std::string document = OneTag(count, order);
    for (auto _ : state)
    {
        Strata::ReadOnlyMemoryStream stream(L"tag.xml", document.data(), document.size());
        auto reader = Strata::CreateXMLReader(&stream);
        const Strata::XMLElement* element = reader->ReadElement();
        if (element == nullptr || element->GetAttributes().size() != count)
        {
            state.SkipWithError("the tag did not read whole");
            break;
        }
        benchmark::DoNotOptimize(element->GetAttributes().begin()->second.size());
    }
}

void RegisterOneTagBenchmarks()
{
    for (const size_t count : kAttributeCounts)
        for (const eAttributeOrder order :
             {eAttributeOrder::Sorted, eAttributeOrder::Reversed, eAttributeOrder::Shuffled})
            benchmark::RegisterBenchmark(OneTagBenchmarkName(count, order).c_str(), BM_OneTag, count, order)
                ->Unit(benchmark::kMillisecond);
}

// Each unsorted order's time against the sorted tag's, count by count; the largest tag has a goal.
void PrintOneTagLine(const ResultReporter& reporter)
{
    std::printf("One tag of many attributes, %s, against the same tag with its attributes sorted:",
                ClockName(eClock::CPU));
    for (const size_t count : kAttributeCounts)
    {
        const bool largest = count == kAttributeCounts[std::size(kAttributeCounts) - 1];
        const double sorted =
            reporter.NanosecondsPerIteration(OneTagBenchmarkName(count, eAttributeOrder::Sorted), eClock::CPU);
        const double reversed =
            reporter.NanosecondsPerIteration(OneTagBenchmarkName(count, eAttributeOrder::Reversed), eClock::CPU);
        const double shuffled =
            reporter.NanosecondsPerIteration(OneTagBenchmarkName(count, eAttributeOrder::Shuffled), eClock::CPU);
        const char* goal = largest ? " (goal at most 4x)" : "";
        std::printf(" %zu attributes (%.2f ms sorted): reversed %.2fx%s, shuffled %.2fx%s%s", count, sorted / 1e6,
                    sorted > 0.0 ? reversed / sorted : 0.0, goal, sorted > 0.0 ? shuffled / sorted : 0.0, goal,
                    largest ? "." : ";");
    }
    std::printf(" Medians of %zu runs.\n",
                reporter.Repetitions(OneTagBenchmarkName(kAttributeCounts[0], eAttributeOrder::Sorted)));
}

// True when the reference saw what our reader saw; otherwise prints where they part.
bool Agree(const char* reference, const Listing& ours, const Listing& theirs)
{
    const auto [mine, other] = std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end());
    if (mine == ours.end() && other == theirs.end())
        return true;
    std::printf("Our XML reader and %s disagree at start tag %zu: <%s> against <%s>\n", reference,
                static_cast<size_t>(mine - ours.begin()), mine != ours.end() ? mine->c_str() : "(none)",
                other != theirs.end() ? other->c_str() : "(none)");
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    // Timing parsers that read different documents would compare nothing.
    const Listing ourTags = ListStrata();
    bool agree = true;
#if STRATA_BENCH_EXPAT
    agree = Agree("libexpat", ourTags, ListExpat()) && agree;
#endif
#if STRATA_BENCH_PUGIXML
    agree = Agree("pugixml", ourTags, ListPugixml()) && agree;
#endif
    if (!agree)
        return 1;
    std::printf("The parsers agree on %zu start tags.\n", ourTags.size());

    RegisterOneTagBenchmarks();
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double size = static_cast<double>(Document().size());
    const double ours = reporter.Rate("BM_StrataXMLReader", size, eClock::CPU);
    const double expat = reporter.Rate("BM_Expat", size, eClock::CPU);
    const double pugixml = reporter.Rate("BM_Pugixml", size, eClock::CPU);
    std::printf("Document %.2f MB, %s. Strata XML reader: %.1f MB/s", size / 1e6, ClockName(eClock::CPU), ours / 1e6);
    if (expat > 0.0)
        std::printf(", %.2fx libexpat (%.1f MB/s)", ours / expat, expat / 1e6);
    if (pugixml > 0.0)
        std::printf(", %.2fx pugixml (%.1f MB/s)", ours / pugixml, pugixml / 1e6);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_StrataXMLReader"));
    PrintOneTagLine(reporter);
    return 0;
}
