#include "core/XMLReader.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;

namespace
{

std::unique_ptr<IXMLReader> ReaderFor(const std::string& text, const std::wstring& name = L"doc.xml",
                                      const sXMLReaderOptions& options = {})
{
    MemoryStream stream(name);
    stream.Write(text.data(), text.size());
    stream.Seek(SeekOrigin_Begin, 0);
    return CreateXMLReader(&stream, options);
}

// "<a", ">a", "=text" and "/a" for start, end and text elements; start elements list their attributes.
std::wstring Describe(const XMLElement& element)
{
    switch (element.GetType())
    {
    case XMLElement::ElementType_Start:
    {
        std::wstring text = L"<" + element.GetName();
        for (const auto& [name, value] : element.GetAttributes())
            text += L" " + name + L"=" + value;
        return text;
    }
    case XMLElement::ElementType_End:
        return L"/" + element.GetName();
    default:
        return L"=" + element.GetName();
    }
}

std::vector<std::wstring> ReadAll(IXMLReader& reader)
{
    std::vector<std::wstring> elements;
    while (!reader.IsEOF())
    {
        const XMLElement* element = reader.ReadElement();
        EXPECT_NE(element, nullptr);
        EXPECT_EQ(element, reader.GetCurrentElement());
        elements.push_back(Describe(*element));
    }
    return elements;
}

std::vector<std::wstring> Parse(const std::string& text)
{
    auto reader = ReaderFor(text);
    return ReadAll(*reader);
}

// The message of the XMLError that reading the whole document throws; empty when it parses.
std::string ParseError(const std::string& text, const sXMLReaderOptions& options = {})
{
    auto reader = ReaderFor(text, L"doc.xml", options);
    try
    {
        ReadAll(*reader);
    }
    catch (const XMLError& error)
    {
        return error.what();
    }
    return std::string();
}

using Elements = std::vector<std::wstring>;

// A stream whose reads stall (return 0) while it never admits to being at its end.
class StallingStream : public IStream
{
public:
    explicit StallingStream(std::string data) : mData(std::move(data)) {}
    std::wstring GetName() override { return L"stalling"; }
    unsigned long GetCapabilities() override { return StreamCaps_Read; }
    uint32_t GetLength() override { return static_cast<uint32_t>(mData.size()); }
    bool IsEOF() override { return false; }
    size_t Read(void* buffer, size_t count) override
    {
        const size_t n = std::min(count, std::min<size_t>(3, mData.size() - mPosition));
        std::memcpy(buffer, mData.data() + mPosition, n);
        mPosition += n;
        ++mReads;
        return n;
    }
    size_t ReadOptimized(void*&, size_t) override { return 0; }
    size_t Write(const void*, size_t) override { return 0; }
    void Seek(SeekOrigin, long long) override {}
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

    int mReads = 0;

private:
    std::string mData;
    size_t mPosition = 0;
};

const char* const kSampleDocument = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                    "<!-- resources <!-- nested --> -->\n"
                                    "<manifest version='2'>\n"
                                    "  <image name=\"logo\" src=\"art/logo\" rotations=\"4\"/>\n"
                                    "  <string name='title'>Caf\xC3\xA9 &amp; &lt;bar&gt; &#x20AC;&#65;</string>\n"
                                    "  <group name=\"g\"><int name=\"n\" value=\"-3\"/></group>\n"
                                    "</manifest>\n";

} // namespace

TEST(XMLReaderTest, ReadsTagsAttributesAndText)
{
    EXPECT_EQ(Parse("<a x='1' y=\"2\"/>"), (Elements{L"<a x=1 y=2", L"/a"}));
    EXPECT_EQ(Parse("<a>\n  <b/>\n</a>"), (Elements{L"<a", L"=\n  ", L"<b", L"/b", L"=\n", L"/a"}));

    // Leading and trailing white space makes no element; white space may come before "=", a repeated
    // name keeps its last value, and the end tag's tail up to ">" is ignored.
    EXPECT_EQ(Parse(" \r\n\t<a b =\"1\" c='x' c=\"y\"\n></a junk>\n  "), (Elements{L"<a b=1 c=y", L"/a"}));
    // Text that does not follow white space, and text at the very end.
    EXPECT_EQ(Parse("<a>x<b/>y</a>z"), (Elements{L"<a", L"=x", L"<b", L"/b", L"=y", L"/a", L"=z"}));
    // A name ends at white space, "/" or ">", and "<" may be followed by white space.
    EXPECT_EQ(Parse("<  a\tk='v'/><b/>"), (Elements{L"<a k=v", L"/a", L"<b", L"/b"}));

    auto reader = ReaderFor("<a x='1'/>");
    ASSERT_FALSE(reader->IsEOF());
    const XMLElement* start = reader->ReadElement();
    ASSERT_NE(start, nullptr);
    EXPECT_TRUE(start->IsStartElement());
    EXPECT_EQ(start->GetAttribute(L"x", 0), 1);
    EXPECT_EQ(reader->GetFileName(), L"doc.xml");
    EXPECT_FALSE(reader->IsEOF());
    EXPECT_TRUE(reader->ReadElement()->IsEndElement());
    EXPECT_TRUE(reader->IsEOF());
    EXPECT_EQ(reader->ReadElement(), nullptr);
    EXPECT_EQ(reader->GetCurrentElement(), nullptr);
}

TEST(XMLReaderTest, SkipsNestedCommentsAndInstructions)
{
    EXPECT_EQ(Parse("<!-- outer <!-- inner --> still comment --><a/>"), (Elements{L"<a", L"/a"}));
    EXPECT_EQ(Parse("<!--- x --->\n<a/>"), (Elements{L"=\n", L"<a", L"/a"}));
    EXPECT_EQ(Parse("<!---><a/>--><b/>"), (Elements{L"<b", L"/b"}));
    EXPECT_EQ(Parse("<?pi <!-- ?> --> ?><a>t<!--c--></a>"), (Elements{L"<a", L"=t", L"/a"}));
    EXPECT_EQ(Parse("<?"
                    "?><a/>"),
              (Elements{L"<a", L"/a"}));
    EXPECT_EQ(ParseError("<!DOCTYPE a><a/>"), "doc.xml(1): Couldn't eat '!--'");
}

TEST(XMLReaderTest, DecodesReferencesInTextAndAttributes)
{
    const std::wstring expected = L"<AB\u00C0\u00E0!bogus!";
    EXPECT_EQ(Parse("<a>&lt;&#65;&#x42;&Agrave;&agrave;&bogus;</a>"), (Elements{L"<a", L"=" + expected, L"/a"}));
    EXPECT_EQ(Parse("<a v='&lt;&#65;&#x42;&Agrave;&agrave;&bogus;'/>"), (Elements{L"<a v=" + expected, L"/a"}));
    EXPECT_EQ(Parse("<a v='&quot;&apos;&amp;&gt;&nbsp;&trade;&euro;&Yuml;'/>")[0],
              L"<a v=\"'&>\u00A0\u2122\u20AC\u0178");
    // A reference ends at ";" or at the end of the text; whatever follows the digits up to ";" is dropped.
    EXPECT_EQ(Parse("<a>x &amp</a>")[1], L"=x &");
    EXPECT_EQ(Parse("<a>x &foo</a>")[1], L"=x !foo!");
    EXPECT_EQ(Parse("<a>&#65 junk;B&# 9;</a>")[1], L"=AB\t");
    EXPECT_EQ(Parse("<a>&#x;&;</a>")[1], L"=\uFFFD!!");
}

TEST(XMLReaderTest, ReferencesOutsideUnicodeBecomeReplacementCharacters)
{
    EXPECT_EQ(Parse("<a>&#0;|&#xD800;|&#xDFFF;|&#x110000;|&#1114111;</a>")[1],
              L"=\uFFFD|\uFFFD|\uFFFD|\uFFFD|\U0010FFFF");
    // Digits that would overflow any integer, or wrap around 32 bits onto a valid character.
    EXPECT_EQ(Parse("<a>&#99999999999999999999999999;|&#4294967361;|&#xFFFFFFFF00000041;</a>")[1],
              L"=\uFFFD|\uFFFD|\uFFFD");
}

TEST(XMLReaderTest, DecodesUtf8AsTheTextReaderDoes)
{
    // Two-, three- and four-byte characters; overlong forms, surrogates, values beyond U+10FFFF and a NUL
    // byte give U+FFFD; a byte that cannot continue a sequence is read again.
    const char withNul[] = "<a v='\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80'>\xF4\x8F\xBF\xBF|\xC0\x80|\xE0\x80\x80|"
                           "\xED\xA0\x80|\xF4\x90\x80\x80|x\0y</a>";
    EXPECT_EQ(Parse(std::string(withNul, sizeof(withNul) - 1)),
              (Elements{L"<a v=\u00E9\u20AC\U0001F600", L"=\U0010FFFF|\uFFFD|\uFFFD|\uFFFD|\uFFFD|x\uFFFDy", L"/a"}));
    EXPECT_EQ(Parse(std::string("<a>\xC3<b/>\xE2\x82</a>")),
              (Elements{L"<a", L"=\uFFFD", L"<b", L"/b", L"=\uFFFD", L"/a"}));
    EXPECT_EQ(Parse("<a>\xC3\xC3\xA9\x80</a>")[1], L"=\uFFFD\u00E9\uFFFD");
    // A character cut short by the end of the input ends it.
    EXPECT_EQ(Parse("<a/>x\xE2\x82"), (Elements{L"<a", L"/a", L"=x"}));
    EXPECT_EQ(Parse("<a/>\xE2\x82"), (Elements{L"<a", L"/a"}));
    // Unicode spaces count as white space between tags.
    EXPECT_EQ(Parse("\xE3\x80\x80<a>\xE2\x80\xA8</a>"), (Elements{L"<a", L"=\u2028", L"/a"}));
}

TEST(XMLReaderTest, ReportsMalformedTagsWithFileAndLine)
{
    EXPECT_EQ(ParseError("<a x=1>"), "doc.xml(1): Expected quote, got '1'");
    EXPECT_EQ(ParseError("< >"), "doc.xml(1): UnnamedElement");
    EXPECT_EQ(ParseError("<a>\n<b/>\n\n<c/ x>"), "doc.xml(4): Couldn't eat '>'");
    EXPECT_EQ(ParseError("<a/>\n</a"), "doc.xml(2): EOF while eating '>'");

    auto reader = ReaderFor("<a>\n<b>\n<c></c></b></a>", L"levels.xml");
    EXPECT_EQ(reader->GetCurLine(), 1);
    reader->ReadElement();
    EXPECT_EQ(reader->ReadElement()->GetName(), L"\n");
    EXPECT_EQ(reader->GetCurLine(), 1); // the line feed is read, the next line not yet begun
    reader->ReadElement();
    EXPECT_EQ(reader->GetCurLine(), 2);
    ReadAll(*reader);
    EXPECT_EQ(reader->GetCurLine(), 3);
}

TEST(XMLReaderTest, EndOfInputInsideAConstructIsAnError)
{
    EXPECT_EQ(ParseError("<"), "doc.xml(1): UnnamedElement");
    EXPECT_EQ(ParseError("<a"), "doc.xml(1): EOF while eating '>'");
    EXPECT_EQ(ParseError("<a "), "doc.xml(1): EOF while eating '>'");
    EXPECT_EQ(ParseError("<a x"), "doc.xml(1): EOF while eating '='");
    EXPECT_EQ(ParseError("<a x="), "doc.xml(1): EOF while eating '\"'");
    EXPECT_EQ(ParseError("<a x='1"), "doc.xml(1): EOF while eating '''");
    EXPECT_EQ(ParseError("<a x=\"1'>"), "doc.xml(1): EOF while eating '\"'");
    EXPECT_EQ(ParseError("<a x='1'"), "doc.xml(1): EOF while eating '>'");
    EXPECT_EQ(ParseError("<a/"), "doc.xml(1): EOF while eating '>'");
    EXPECT_EQ(ParseError("<!-"), "doc.xml(1): EOF while eating '!--'");
    EXPECT_EQ(ParseError("<!-- x --"), "doc.xml(1): EOF while eating '-->'");
    EXPECT_EQ(ParseError("<!-- <!-- x --> \n"), "doc.xml(2): EOF while eating '-->'");
    EXPECT_EQ(ParseError("<? x ?"), "doc.xml(1): EOF while eating '?>'");
    EXPECT_EQ(ParseError("<? <!-- ?>"), "doc.xml(1): EOF while eating '-->'");
    // Between tags or in text, once a start tag is open, or inside a reference wherever it stands.
    EXPECT_EQ(ParseError("<a>"), "doc.xml(1): EOF with elements still open");
    EXPECT_EQ(ParseError("<a><b></b>text\n"), "doc.xml(2): EOF with elements still open");
    EXPECT_EQ(ParseError("<a><b><c/></b>"), "doc.xml(1): EOF with elements still open");
    EXPECT_EQ(ParseError("<a/>&#x1F6"), "doc.xml(1): EOF while eating ';'");
    EXPECT_EQ(ParseError("<a>x &amp; y &eac"), "doc.xml(1): EOF while eating ';'");
    EXPECT_EQ(ParseError("<?xml version='1.0'?>\n<!-- c -->\n"), "doc.xml(3): EOF before the root element");
    EXPECT_EQ(ParseError("text"), "doc.xml(1): EOF before the root element");
    EXPECT_EQ(ParseError(" \r\n\t"), "");
}

TEST(XMLReaderTest, AttributeNamesAreXMLNames)
{
    // A name stops where an XML name stops; it need not begin like one.
    EXPECT_EQ(Parse("<a b\t='1' \xC3\xA9-x.y:z='2' _9=\"3\" 4=\"4\"/>")[0], L"<a 4=4 _9=3 b=1 \u00E9-x.y:z=2");
    EXPECT_EQ(Parse("<a x='1'y='2'/>")[0], L"<a x=1 y=2");

    // What stands where a name or "=" belongs.
    const std::pair<const char*, const char*> failures[] = {
        {"<r><a x=\"1\"2\"/></r>", "doc.xml(1): Couldn't eat '='"},
        {"<a x=\"1\" \"y\"/>", "doc.xml(1): Expected attribute name, got '\"'"},
        {"<a x=\"1\" <b/>", "doc.xml(1): Expected attribute name, got '<'"},
        {"<a =\"1\"/>", "doc.xml(1): Expected attribute name, got '='"},
        {"<a x<=\"1\"/>", "doc.xml(1): Couldn't eat '='"},
        {"<a x'=\"1\"/>", "doc.xml(1): Couldn't eat '='"},
        {"<a x y=\"1\"/>", "doc.xml(1): Couldn't eat '='"},
        {"<a x ", "doc.xml(1): EOF while eating '='"},
        {"<a b=\"1\"\n", "doc.xml(2): EOF while eating '>'"},
    };
    for (const auto& [text, message] : failures)
        EXPECT_EQ(ParseError(text), message) << text;

    // A reader asked to be strict refuses a repeated attribute instead of keeping its last value.
    sXMLReaderOptions strict;
    strict.rejectRepeatedAttributes = true;
    EXPECT_EQ(ParseError("<a n='1' v='2' n='3'/>", strict), "doc.xml(1): Repeated attribute 'n'");
    EXPECT_EQ(ParseError("<a n='1' v='2'/>", strict), "");
}

// One tag of many attributes, in any order, reads as if each were stored in turn: of a repeated name the last
// value counts, and a strict reader names the first repeated name in the map's order. Sizes on both sides of
// the short tags' own sort; names of different lengths with shared starts, some not ASCII.
TEST(XMLReaderTest, ManyAttributesInAnyOrderReadAsStoredInTurn)
{
    enum class eOrder
    {
        Ascending,
        Descending,
        Shuffled,
    };
    // Another copy of the name at `name` in map order goes in at `at` in the document (at most its end).
    struct sRepeat
    {
        size_t at;
        size_t name;
    };
    struct sRow
    {
        size_t count;
        eOrder order;
        std::vector<sRepeat> repeats;
    };
    const sRow rows[] = {
        {1, eOrder::Ascending, {{0, 0}, {9, 0}}},
        {3, eOrder::Shuffled, {}},
        {16, eOrder::Descending, {{99, 0}}},
        {16, eOrder::Shuffled, {{0, 15}, {8, 15}}},
        {17, eOrder::Ascending, {}},
        {17, eOrder::Shuffled, {{0, 16}, {99, 3}}},
        {17, eOrder::Descending, {{5, 9}, {5, 9}, {99, 2}}},
        {1000, eOrder::Ascending, {{500, 499}}},
        {1000, eOrder::Descending, {{0, 999}, {400, 999}, {9999, 999}}},
        {1000, eOrder::Shuffled, {{1, 0}, {999, 998}}},
        {5000, eOrder::Shuffled, {{0, 4000}, {2500, 17}, {2500, 4000}, {9999, 17}, {7, 0}}},
        {20000, eOrder::Shuffled, {}},
        {20000, eOrder::Descending, {{10000, 19999}}},
    };
    sXMLReaderOptions strict;
    strict.rejectRepeatedAttributes = true;
    for (const sRow& row : rows)
    {
        // UTF-8 keeps the order of the characters it encodes, so sorted here is the map's order.
        std::vector<std::string> names;
        for (size_t i = 0; i < row.count; ++i)
            names.push_back((i % 11 == 0 ? "\xC3\xA9" : i % 3 == 0 ? "b" : "a") + std::to_string(i));
        std::sort(names.begin(), names.end());
        std::vector<std::string> document = names;
        if (row.order == eOrder::Descending)
            std::reverse(document.begin(), document.end());
        else if (row.order == eOrder::Shuffled)
            std::shuffle(document.begin(), document.end(), std::mt19937(static_cast<unsigned>(row.count)));
        for (const sRepeat& repeat : row.repeats)
            document.insert(document.begin() + static_cast<std::ptrdiff_t>(std::min(repeat.at, document.size())),
                            names[repeat.name]);

        std::string text = "<t";
        std::map<std::wstring, std::wstring> expected;
        std::map<std::string, int> occurrences;
        for (size_t k = 0; k < document.size(); ++k)
        {
            text += " " + document[k] + "='" + std::to_string(k) + "'";
            expected[ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(document[k].c_str()))] =
                std::to_wstring(k);
            ++occurrences[document[k]];
        }
        text += "/>";
        const auto repeated = std::find_if(occurrences.begin(), occurrences.end(),
                                           [](const auto& occurrence) { return occurrence.second > 1; });

        const std::string label = std::to_string(row.count) + " attributes, order " +
                                  std::to_string(static_cast<int>(row.order)) + ", " +
                                  std::to_string(row.repeats.size()) + " repeated";
        auto reader = ReaderFor(text);
        const XMLElement* element = reader->ReadElement();
        ASSERT_NE(element, nullptr) << label;
        EXPECT_EQ(element->GetName(), L"t") << label;
        EXPECT_TRUE(element->GetAttributes() == expected) << label;
        EXPECT_EQ(reader->ReadElement()->GetType(), XMLElement::ElementType_End) << label;
        EXPECT_TRUE(reader->IsEOF()) << label;
        // The message is narrow text: a character past ASCII shows as "?".
        std::string firstRepeated = repeated == occurrences.end() ? "" : repeated->first;
        if (firstRepeated.rfind("\xC3\xA9", 0) == 0)
            firstRepeated.replace(0, 2, "?");
        EXPECT_EQ(ParseError(text, strict),
                  firstRepeated.empty() ? "" : "doc.xml(1): Repeated attribute '" + firstRepeated + "'")
            << label;
    }
}

TEST(XMLReaderTest, AFailedReaderStaysAtItsEnd)
{
    auto reader = ReaderFor("<a><b x=1/><c/></a>");
    EXPECT_EQ(reader->ReadElement()->GetName(), L"a");
    EXPECT_THROW(reader->ReadElement(), XMLError);
    EXPECT_TRUE(reader->IsEOF());
    EXPECT_EQ(reader->ReadElement(), nullptr);
}

TEST(XMLReaderTest, EveryTruncationBeforeTheRootClosesFailsAfterTheElementsReadSoFar)
{
    const std::string document = kSampleDocument;
    const Elements full = Parse(document);
    ASSERT_EQ(full.size(), 17u);
    const size_t rootClosed = document.rfind('>') + 1;
    for (size_t length = 0; length <= document.size(); ++length)
    {
        auto reader = ReaderFor(document.substr(0, length));
        Elements seen;
        bool failed = false;
        try
        {
            while (!reader->IsEOF() && seen.size() <= full.size())
            {
                const XMLElement* element = reader->ReadElement();
                ASSERT_NE(element, nullptr);
                seen.push_back(Describe(*element));
            }
        }
        catch (const XMLError&)
        {
            failed = true;
        }
        // Only the empty document and the whole one read without an error.
        if (length > 0 && length < rootClosed)
            EXPECT_TRUE(failed) << "prefix of " << length << " bytes";
        else
            EXPECT_FALSE(failed) << "prefix of " << length << " bytes";
        // What was delivered is what the whole document gives, but for a last text cut short, which is a
        // part of its whole text: never a reference read from some of its digits.
        ASSERT_LE(seen.size(), full.size()) << "prefix of " << length << " bytes";
        for (size_t i = 0; i < seen.size(); ++i)
        {
            const bool cutText = i + 1 == seen.size() && seen[i][0] == L'=';
            if (cutText)
                EXPECT_EQ(full[i].compare(0, seen[i].size(), seen[i]), 0) << "prefix of " << length << " bytes";
            else
                EXPECT_EQ(seen[i], full[i]) << "prefix of " << length << " bytes";
        }
        EXPECT_GE(reader->GetProgress(), 0.0f);
        EXPECT_LE(reader->GetProgress(), 1.0f);
    }
}

TEST(XMLReaderTest, ElementReaderDeliversOneSubtree)
{
    auto reader = ReaderFor("<a><b/></a><c/>");
    ASSERT_FALSE(reader->IsEOF());
    reader->ReadElement();

    XMLElementReader subtree(reader.get());
    EXPECT_TRUE(subtree.IsEOF()); // before the first read
    std::vector<std::wstring> seen;
    do
    {
        seen.push_back(Describe(*subtree.ReadElement()));
    } while (!subtree.IsEOF());
    EXPECT_EQ(seen, (Elements{L"<a", L"<b", L"/b", L"/a"}));
    EXPECT_EQ(subtree.GetProgress(), 0.5f);
    EXPECT_EQ(subtree.GetFileName(), L"doc.xml");
    EXPECT_EQ(subtree.GetCurrentElement(), reader->GetCurrentElement());
    EXPECT_EQ(ReadAll(*reader), (Elements{L"<c", L"/c"}));
}

TEST(XMLReaderTest, SubtreesCutShortByTheEndOfTheDocumentFailAfterTheirElements)
{
    auto reader = ReaderFor("<a><b><c/>text");
    reader->ReadElement();
    XMLElementReader subtree(reader.get());
    XMLElementList copy;
    EXPECT_THROW(CopyAllElements(subtree, &copy), XMLError);
    std::vector<std::wstring> seen;
    for (const XMLElement& element : copy.GetElements())
        seen.push_back(Describe(element));
    EXPECT_EQ(seen, (Elements{L"<a", L"<b", L"<c", L"/c", L"=text"}));
    EXPECT_TRUE(subtree.IsEOF());

    // Nested element readers share the outer reader's progress through the document.
    auto nested = ReaderFor("<r><x><y/></x><z/></r>");
    nested->ReadElement();
    XMLElementReader outer(nested.get());
    outer.ReadElement();
    outer.ReadElement();
    XMLElementReader inner(&outer);
    XMLElementList innerCopy;
    CopyAllElements(inner, &innerCopy);
    EXPECT_EQ(innerCopy.GetElements().size(), 4u);
    XMLElementList rest;
    CopyAllElements(outer, &rest);
    ASSERT_EQ(rest.GetElements().size(), 3u);
    EXPECT_EQ(rest.GetElements().back().GetName(), L"r");
    EXPECT_TRUE(nested->IsEOF());
}

TEST(XMLReaderTest, ElementListsReplayTheirElements)
{
    XMLElementList empty;
    EXPECT_TRUE(empty.IsEOF());
    EXPECT_EQ(empty.GetProgress(), 1.0f);
    EXPECT_EQ(empty.ReadElement(), nullptr);
    EXPECT_EQ(empty.GetCurrentElement(), nullptr);

    auto reader = ReaderFor("<a k='v'><b/></a>");
    XMLElementList list;
    CopyAllElements(*reader, &list);
    ASSERT_EQ(list.GetElements().size(), 4u);

    XMLElementList replay = list;
    EXPECT_FALSE(replay.IsEOF());
    EXPECT_EQ(replay.GetProgress(), 0.0f);
    EXPECT_EQ(replay.ReadElement()->GetAttribute(L"k"), L"v");
    EXPECT_EQ(replay.GetProgress(), 0.25f);

    // An element reader over a list stops at the list's end as well as at the matching end tag.
    XMLElementReader subtree(&replay);
    XMLElementList copy;
    CopyAllElements(subtree, &copy);
    EXPECT_EQ(copy.GetElements().size(), 4u);
    EXPECT_TRUE(replay.IsEOF());
    EXPECT_EQ(replay.GetProgress(), 1.0f);
    EXPECT_EQ(replay.ReadElement(), nullptr);
    EXPECT_EQ(replay.GetCurrentElement()->GetName(), L"a");
    EXPECT_EQ(replay.GetCurLine(), 0);
    EXPECT_EQ(replay.GetFileName(), L"");
}

TEST(XMLReaderTest, CopiesItsSourceWhateverTheStreamDoes)
{
    // A stream that stops giving bytes without reporting its end still ends the copy.
    StallingStream stalling("<a/>");
    auto reader = CreateXMLReader(&stalling);
    EXPECT_EQ(reader->GetFileName(), L"stalling");
    EXPECT_EQ(ReadAll(*reader), (Elements{L"<a", L"/a"}));
    EXPECT_LE(stalling.mReads, 3);

    // A stream offering its own bytes is copied in one go; the reader outlives it.
    const std::string text = "  <a>x</a>";
    std::unique_ptr<IXMLReader> borrowed;
    {
        ReadOnlyMemoryStream source(L"borrowed", text.data(), text.size());
        borrowed = CreateXMLReader(&source);
    }
    EXPECT_EQ(ReadAll(*borrowed), (Elements{L"<a", L"=x", L"/a"}));
    EXPECT_EQ(borrowed->GetProgress(), 1.0f);

    EXPECT_THROW(CreateXMLReader(nullptr), RuntimeError);
}

TEST(XMLReaderTest, ProgressRunsFromZeroToOne)
{
    auto empty = ReaderFor("");
    EXPECT_EQ(empty->GetProgress(), 1.0f);
    EXPECT_TRUE(empty->IsEOF());
    EXPECT_EQ(empty->GetProgress(), 1.0f);

    // Parsing goes no further than the elements handed out need, however they are asked for.
    auto reader = ReaderFor("<a/><b/>");
    EXPECT_EQ(reader->GetProgress(), 0.0f);
    reader->ReadElement();
    EXPECT_EQ(reader->GetProgress(), 0.5f);
    reader->ReadElement();
    EXPECT_EQ(reader->GetProgress(), 0.5f);
    ReadAll(*reader);
    EXPECT_EQ(reader->GetProgress(), 1.0f);
}
