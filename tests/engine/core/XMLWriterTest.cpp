#include "core/XMLWriter.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace Strata;

namespace
{

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";

std::string Bytes(MemoryStream& stream)
{
    stream.Seek(SeekOrigin_Begin, 0);
    std::string out(stream.GetLength(), '\0');
    stream.Read(out.data(), out.size());
    stream.Seek(SeekOrigin_Begin, 0);
    return out;
}

// Everything written after the declaration.
template <typename Body>
std::string Write(Body body)
{
    MemoryStream stream(L"out.xml");
    {
        XMLWriter writer(&stream);
        body(writer);
    }
    const std::string bytes = Bytes(stream);
    EXPECT_EQ(bytes.substr(0, kDeclaration.size()), kDeclaration);
    return bytes.substr(kDeclaration.size());
}

} // namespace

TEST(XMLWriterTest, WritesTagsWithLineBreaksAndNoIndentation)
{
    EXPECT_EQ(Write([](XMLWriter&) {}), "");
    EXPECT_EQ(Write(
                  [](XMLWriter& w)
                  {
                      w.WriteStartElement(L"a");
                      w.WriteAttribute(L"x", L"1 < 2");
                      w.WriteEndElement();
                  }),
              "<a x=\"1 &lt; 2\"/>\r\n");
    EXPECT_EQ(Write(
                  [](XMLWriter& w)
                  {
                      w.WriteStartElement(L"a");
                      w.WriteText(L"hi");
                      w.WriteEndElement();
                  }),
              "<a>hi</a>\r\n");
    EXPECT_EQ(Write(
                  [](XMLWriter& w)
                  {
                      w.WriteStartElement(L"a");
                      w.WriteStartElement(L"b");
                      w.WriteEndElement();
                      w.WriteEndElement();
                  }),
              "<a>\r\n<b/>\r\n</a>\r\n");
    // Open elements are closed, innermost first, when the writer goes away; extra end calls do nothing.
    EXPECT_EQ(Write(
                  [](XMLWriter& w)
                  {
                      w.WriteEndElement();
                      w.WriteStartElement(L"a");
                      w.WriteStartElement(L"b");
                      w.WriteText(std::wstring(L"t"));
                  }),
              "<a>\r\n<b>t</b>\r\n</a>\r\n");
}

TEST(XMLWriterTest, EscapesMarkupAndControlCharacters)
{
    EXPECT_EQ(Write(
                  [](XMLWriter& w)
                  {
                      w.WriteStartElement(L"a");
                      w.WriteAttribute(L"v", L"&\"<>'\t\n\r\x01\x1F\u00E9");
                      w.WriteText(L"&\"<>'\t\n\r\x01\x1F\u00E9");
                      w.WriteText(static_cast<const wchar_t*>(nullptr));
                      w.WriteEndElement();
                  }),
              "<a v=\"&amp;&quot;&lt;&gt;'&#9;&#10;&#13;&#1;&#31;\xC3\xA9\">"
              "&amp;&quot;&lt;&gt;'\t\n\r&#1;&#31;\xC3\xA9</a>\r\n");
}

TEST(XMLWriterTest, WritesElementsAsTheReaderDeliversThem)
{
    const std::string source = "<root b='2' a='1'>\n  <item name='x &amp; y'/>\n  text &lt;here&gt;\n</root>";
    MemoryStream input(L"in.xml");
    input.Write(source.data(), source.size());
    input.Seek(SeekOrigin_Begin, 0);
    auto reader = CreateXMLReader(&input);

    MemoryStream output(L"out.xml");
    {
        XMLWriter writer(&output);
        while (!reader->IsEOF())
            writer.WriteElement(*reader->ReadElement());
    }
    EXPECT_EQ(Bytes(output), kDeclaration + "<root a=\"1\" b=\"2\">\n  <item name=\"x &amp; y\"/>\r\n"
                                            "\n  text &lt;here&gt;\n</root>\r\n");
}

TEST(XMLWriterTest, TrickyTextReadsBackUnchanged)
{
    std::wstring tricky = L" \"quoted\" & 'single' <tag> \u00E9\u20AC\uFFFD\t\r\nline\n";
    for (wchar_t c = 1; c < 32; ++c)
        tricky += c;
    MemoryStream stream(L"round.xml");
    {
        XMLWriter writer(&stream);
        writer.WriteStartElement(L"root");
        writer.WriteAttribute(L"value", tricky.c_str());
        writer.WriteAttribute(L"lines", L"a\nb\r\nc");
        writer.WriteText(tricky);
        writer.WriteStartElement(L"empty");
    }
    stream.Seek(SeekOrigin_Begin, 0);
    auto reader = CreateXMLReader(&stream);
    ASSERT_FALSE(reader->IsEOF());
    EXPECT_EQ(reader->ReadElement()->GetName(), L"\r\n"); // the line break after the declaration
    ASSERT_FALSE(reader->IsEOF());
    const XMLElement* root = reader->ReadElement();
    EXPECT_EQ(root->GetName(), L"root");
    EXPECT_EQ(root->GetAttribute(L"value"), tricky);
    EXPECT_EQ(root->GetAttribute(L"lines"), L"a\nb\r\nc");
    ASSERT_FALSE(reader->IsEOF());
    const XMLElement* text = reader->ReadElement();
    EXPECT_TRUE(text->IsText());
    EXPECT_EQ(text->GetName(), tricky);

    std::wstring rest;
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        rest += std::to_wstring(element->GetType()) + element->GetName() + L";";
    }
    EXPECT_EQ(rest, L"0empty;1empty;2\r\n;1root;");
}

TEST(XMLWriterTest, EscapesEachCharacterAsItsUseAsks)
{
    using namespace std::string_view_literals;
    struct Case
    {
        std::wstring_view text;
        std::wstring_view markup;
        std::wstring_view content;
        std::wstring_view attribute;
    };
    const Case cases[] = {
        {L""sv, L""sv, L""sv, L""sv},
        {L"&\"<>'"sv, L"&amp;&quot;&lt;&gt;'"sv, L"&amp;&quot;&lt;&gt;'"sv, L"&amp;&quot;&lt;&gt;'"sv},
        {L"\t\n\r"sv, L"\t\n\r"sv, L"\t\n\r"sv, L"&#9;&#10;&#13;"sv},
        {L"a\0b"sv, L"a\0b"sv, L"a&#0;b"sv, L"a&#0;b"sv},
        {L"\x01\x1F \x7F"sv, L"\x01\x1F \x7F"sv, L"&#1;&#31; \x7F"sv, L"&#1;&#31; \x7F"sv},
        {L"\u00E9\U0001F418"sv, L"\u00E9\U0001F418"sv, L"\u00E9\U0001F418"sv, L"\u00E9\U0001F418"sv},
        // Not a character at all, but not below 32 either.
        {L"\xFFFFFFFF"sv, L"\xFFFFFFFF"sv, L"\xFFFFFFFF"sv, L"\xFFFFFFFF"sv},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(EscapeXML(c.text, XMLEscape_Markup), c.markup);
        EXPECT_EQ(EscapeXML(c.text, XMLEscape_Text), c.content);
        EXPECT_EQ(EscapeXML(c.text, XMLEscape_Attribute), c.attribute);
    }
}
