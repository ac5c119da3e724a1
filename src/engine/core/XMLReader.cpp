#include "core/XMLReader.h"

#include "core/Stream.h"
#include "core/StringFormatter.h"
#include "core/TextReader.h"
#include "core/WideString.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <string_view>

namespace Strata
{

namespace
{

constexpr int kEndOfInput = -1;
constexpr int kReplacementCharacter = 0xFFFD;
constexpr uint32_t kLargestCodePoint = 0x10FFFF;
constexpr size_t kCopyBlockSize = 16384;
// Up to this many attributes a tag is sorted in place; a longer tag's sort takes memory of its own.
constexpr size_t kInPlaceSortLimit = 16;

// ---------------------------------------------------------------------------------------------------------
// Characters

// Decodes one character at `p` (which must be before `end`) and advances past it, with the text reader's
// rules: a malformed sequence, an overlong form, 0, a surrogate or a value beyond Unicode gives U+FFFD; a
// byte that cannot continue the sequence is left to be read again; a sequence cut short by `end` gives
// kEndOfInput.
inline int DecodeCharacter(const uint8_t*& p, const uint8_t* end)
{
    const uint8_t lead = *p++;
    if (lead < 0x80)
        return lead != 0 ? lead : kReplacementCharacter;
    const Internal::Utf8Row* row = Internal::FindUtf8RowForLeadByte(lead);
    if (row == nullptr)
        return kReplacementCharacter;
    uint32_t value = lead & row->payloadMask;
    for (int i = 0; i < row->continuations; ++i)
    {
        if (p == end)
            return kEndOfInput;
        if ((*p & 0xC0) != 0x80)
            return kReplacementCharacter;
        value = (value << 6) | (*p++ & 0x3F);
    }
    if (value < row->smallest || value > row->largest || value == 0 || value > kLargestCodePoint ||
        (value >= 0xD800 && value <= 0xDFFF))
        return kReplacementCharacter;
    return static_cast<int>(value);
}

// What may start an XML name, and what may continue one.
inline bool IsNameStartCharacter(int c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

inline bool IsNameCharacter(int c)
{
    return IsNameStartCharacter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

inline bool IsAsciiWhiteSpace(uint8_t c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The white space of a UTF-8 character-class table, fixed so that parsing never depends on the locale.
bool IsWhiteSpace(int c)
{
    if (c < 0x80)
        return c >= 0 && IsAsciiWhiteSpace(static_cast<uint8_t>(c));
    return c == 0x1680 || (c >= 0x2000 && c <= 0x2006) || (c >= 0x2008 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x205F || c == 0x3000;
}

// ---------------------------------------------------------------------------------------------------------
// References

struct Entity
{
    const wchar_t* name;
    wchar_t value;
};

constexpr Entity kEntities[] = {
    {L"quot", 34},     {L"apos", 39},     {L"amp", 38},      {L"lt", 60},       {L"gt", 62},       {L"nbsp", 160},
    {L"iexcl", 161},   {L"curren", 164},  {L"cent", 162},    {L"pound", 163},   {L"yen", 165},     {L"brvbar", 166},
    {L"sect", 167},    {L"uml", 168},     {L"copy", 169},    {L"ordf", 170},    {L"laquo", 171},   {L"not", 172},
    {L"shy", 173},     {L"reg", 174},     {L"trade", 8482},  {L"macr", 175},    {L"deg", 176},     {L"plusmn", 177},
    {L"sup2", 178},    {L"sup3", 179},    {L"acute", 180},   {L"micro", 181},   {L"para", 182},    {L"middot", 183},
    {L"cedil", 184},   {L"sup1", 185},    {L"ordm", 186},    {L"raquo", 187},   {L"frac14", 188},  {L"frac12", 189},
    {L"frac34", 190},  {L"iquest", 191},  {L"times", 215},   {L"divide", 247},  {L"Agrave", 192},  {L"Aacute", 193},
    {L"Acirc", 194},   {L"Atilde", 195},  {L"Auml", 196},    {L"Aring", 197},   {L"AElig", 198},   {L"Ccedil", 199},
    {L"Egrave", 200},  {L"Eacute", 201},  {L"Ecirc", 202},   {L"Euml", 203},    {L"Igrave", 204},  {L"Iacute", 205},
    {L"Icirc", 206},   {L"Iuml", 207},    {L"ETH", 208},     {L"Ntilde", 209},  {L"Ograve", 210},  {L"Oacute", 211},
    {L"Ocirc", 212},   {L"Otilde", 213},  {L"Ouml", 214},    {L"Oslash", 216},  {L"Ugrave", 217},  {L"Uacute", 218},
    {L"Ucirc", 219},   {L"Uuml", 220},    {L"Yacute", 221},  {L"THORN", 222},   {L"szlig", 223},   {L"agrave", 224},
    {L"aacute", 225},  {L"acirc", 226},   {L"atilde", 227},  {L"auml", 228},    {L"aring", 229},   {L"aelig", 230},
    {L"ccedil", 231},  {L"egrave", 232},  {L"eacute", 233},  {L"ecirc", 234},   {L"euml", 235},    {L"igrave", 236},
    {L"iacute", 237},  {L"icirc", 238},   {L"iuml", 239},    {L"eth", 240},     {L"ntilde", 241},  {L"ograve", 242},
    {L"oacute", 243},  {L"ocirc", 244},   {L"otilde", 245},  {L"ouml", 246},    {L"oslash", 248},  {L"ugrave", 249},
    {L"uacute", 250},  {L"ucirc", 251},   {L"uuml", 252},    {L"yacute", 253},  {L"thorn", 254},   {L"yuml", 255},
    {L"OElig", 338},   {L"oelig", 339},   {L"Scaron", 352},  {L"scaron", 353},  {L"Yuml", 376},    {L"circ", 710},
    {L"tilde", 732},   {L"ensp", 8194},   {L"emsp", 8195},   {L"thinsp", 8201}, {L"zwnj", 8204},   {L"zwj", 8205},
    {L"lrm", 8206},    {L"rlm", 8207},    {L"ndash", 8211},  {L"mdash", 8212},  {L"lsquo", 8216},  {L"rsquo", 8217},
    {L"sbquo", 8218},  {L"ldquo", 8220},  {L"rdquo", 8221},  {L"bdquo", 8222},  {L"dagger", 8224}, {L"Dagger", 8225},
    {L"hellip", 8230}, {L"permil", 8240}, {L"lsaquo", 8249}, {L"rsaquo", 8250}, {L"euro", 8364},
};
static_assert(sizeof(kEntities) / sizeof(kEntities[0]) == 131);

const std::map<std::wstring_view, wchar_t>& GetEntityTable()
{
    static const std::map<std::wstring_view, wchar_t> table = []
    {
        std::map<std::wstring_view, wchar_t> entities;
        for (const Entity& entity : kEntities)
            entities.emplace(entity.name, entity.value);
        return entities;
    }();
    return table;
}

// The character a numeric reference's digits name. Digits are read as the integer conversion of the wide
// string helpers reads them (blanks first, letters count as digits); a value that is 0, a surrogate or
// beyond Unicode gives U+FFFD, and the accumulation stops growing once it is out of range.
wchar_t NumericReferenceValue(std::wstring_view digits, uint32_t radix)
{
    size_t i = 0;
    while (i < digits.size() && (digits[i] == L' ' || digits[i] == L'\t'))
        ++i;
    uint32_t value = 0;
    for (; i < digits.size(); ++i)
    {
        const int digit = DigitValue(digits[i]);
        if (digit < 0)
            break;
        if (value <= kLargestCodePoint)
            value = value * radix + static_cast<uint32_t>(digit);
    }
    if (value == 0 || value > kLargestCodePoint || (value >= 0xD800 && value <= 0xDFFF))
        return static_cast<wchar_t>(kReplacementCharacter);
    return static_cast<wchar_t>(value);
}

// Replaces "&#n;", "&#xh;" and "&name;" in `text`. A reference ends at the next ";" or at the end of the
// text; an unknown name reads "!name!". `scratch` is working space.
void DecodeReferences(std::wstring& text, std::wstring& scratch)
{
    size_t amp = text.find(L'&');
    if (amp == std::wstring::npos)
        return;
    scratch.clear();
    size_t copied = 0;
    while (amp != std::wstring::npos)
    {
        scratch.append(text, copied, amp - copied);
        const size_t semicolon = text.find(L';', amp + 1);
        const size_t referenceEnd = semicolon == std::wstring::npos ? text.size() : semicolon;
        const std::wstring_view body(text.data() + amp + 1, referenceEnd - amp - 1);
        if (!body.empty() && body[0] == L'#')
        {
            const bool hex = body.size() > 1 && body[1] == L'x';
            scratch.push_back(NumericReferenceValue(body.substr(hex ? 2 : 1), hex ? 16 : 10));
        }
        else
        {
            const auto& entities = GetEntityTable();
            const auto it = entities.find(body);
            if (it != entities.end())
            {
                scratch.push_back(it->second);
            }
            else
            {
                scratch.push_back(L'!');
                scratch.append(body);
                scratch.push_back(L'!');
            }
        }
        copied = semicolon == std::wstring::npos ? text.size() : semicolon + 1;
        amp = text.find(L'&', copied);
    }
    scratch.append(text, copied, std::wstring::npos);
    text.swap(scratch);
}

// ---------------------------------------------------------------------------------------------------------
// The document reader

// The reader's own element, filled in place so that strings and attribute nodes are reused.
class ParsedElement : public XMLElement
{
public:
    void SetAttribute(const std::wstring& name, const std::wstring& value) { mAttributes[name] = value; }
    AttributeMap& Attributes() { return mAttributes; }
    std::wstring& Name() { return mName; }

    void Swap(ParsedElement& other) noexcept
    {
        std::swap(mType, other.mType);
        mName.swap(other.mName);
        mAttributes.swap(other.mAttributes);
    }
};

class XMLDocumentReader final : public IXMLReader
{
public:
    XMLDocumentReader(const std::wstring& fileName, std::vector<uint8_t>&& data, const sXMLReaderOptions& options)
        : mFileName(fileName), mData(std::move(data)), mOptions(options)
    {
        mBegin = mData.data();
        mPos = mBegin;
        mEnd = mBegin + mData.size();
        mLineScanPos = mBegin;
        SkipWhiteSpace();
        mBlank = mPos == mEnd;
    }

    bool IsEOF() override
    {
        if (mPendingCount == 0)
            ParseStep();
        return mPendingCount == 0;
    }

    const XMLElement* ReadElement() override
    {
        if (mPendingCount == 0)
            ParseStep();
        if (mPendingCount == 0)
        {
            mHasCurrent = false;
            return nullptr;
        }
        // The old current element goes back into the slot, whose storage the next parse reuses.
        mCurrent.Swap(mPending[mPendingHead]);
        ++mPendingHead;
        --mPendingCount;
        mHasCurrent = true;
        return &mCurrent;
    }

    const XMLElement* GetCurrentElement() override { return mHasCurrent ? &mCurrent : nullptr; }

    float GetProgress() override
    {
        if (mData.empty())
            return 1.0f;
        return static_cast<float>(static_cast<double>(mPos - mBegin) / static_cast<double>(mData.size()));
    }

    int GetCurLine() override
    {
        if (mLineScanPos < mPos)
        {
            mLineFeeds += static_cast<size_t>(std::count(mLineScanPos, mPos, '\n'));
            mLineScanPos = mPos;
        }
        // The line grows when the character after a line feed is read, not with the line feed itself.
        const size_t line = 1 + mLineFeeds - ((mPos > mBegin && mPos[-1] == '\n') ? 1 : 0);
        return line > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(line);
    }

    std::wstring GetFileName() override { return mFileName; }

private:
    using AttributeMap = IAttributeContainer::AttributeMap;

    // One step adds one text element, a start element, an end element, or a start and an end element for
    // an empty-element tag; it adds nothing at the end of the input or after a failure.
    void ParseStep()
    {
        if (mFailed)
            return;
        mPendingHead = 0;
        try
        {
            ParseStepUnchecked();
        }
        catch (...)
        {
            mFailed = true;
            mPendingCount = 0;
            throw;
        }
    }

    void ParseStepUnchecked()
    {
        for (;;)
        {
            const uint8_t* textStart = mPos;
            SkipWhiteSpace();
            int c = PeekCharacter();
            if (c == kEndOfInput)
            {
                // A document cut short must not pass for a whole one.
                if (mCutReference)
                    FailAtEnd(L";");
                if (mOpenElements > 0)
                    FailAtEndWith(L"EOF with elements still open");
                // A declaration, comments or text and no element: cut before its root. A blank input is
                // an empty document.
                if (!mElementSeen && !mBlank)
                    FailAtEndWith(L"EOF before the root element");
                return;
            }
            if (c != '<' || mPos != textStart)
            {
                ParseText(textStart);
                return;
            }
            ++mPos;
            c = PeekCharacter();
            if (c == '!')
            {
                Eat("!--");
                SkipUntil("-->");
                continue;
            }
            if (c == '?')
            {
                ++mPos;
                SkipUntil("?>");
                continue;
            }
            ParseTag();
            return;
        }
    }

    void ParseText(const uint8_t* textStart)
    {
        const uint8_t* end = FindByte(mPos, '<');
        if (end == mEnd)
        {
            // Text that runs to the end of the input may end inside a reference: what precedes the
            // reference is delivered, and the next step reports the cut.
            const uint8_t* ampersand = FindLastByte(textStart, end, '&');
            if (ampersand != nullptr && std::memchr(ampersand, ';', static_cast<size_t>(end - ampersand)) == nullptr)
            {
                mCutReference = true;
                mPos = mEnd;
                if (ampersand == textStart)
                    FailAtEnd(L";");
                end = ampersand;
            }
        }
        ParsedElement& element = NewElement(XMLElement::ElementType_Text);
        if (DecodeRange(element.Name(), textStart, end))
            DecodeReferences(element.Name(), mScratch);
        mPos = mCutReference ? mEnd : end;
    }

    void ParseTag()
    {
        SkipWhiteSpace();
        if (PeekCharacter() == '/')
        {
            ++mPos;
            ParsedElement& element = NewElement(XMLElement::ElementType_End);
            ReadName(element.Name());
            const uint8_t* close = FindByte(mPos, '>');
            if (close == mEnd)
            {
                mPos = mEnd;
                FailAtEnd(L">");
            }
            mPos = close + 1;
            // End tags are not matched against start tags; they only count how many stay open.
            if (mOpenElements > 0)
                --mOpenElements;
            return;
        }

        ParsedElement& element = NewElement(XMLElement::ElementType_Start);
        ReadName(element.Name());
        if (element.Name().empty())
            Fail(L"UnnamedElement");
        mElementSeen = true;
        SkipWhiteSpace();
        mNewAttributes.clear();
        for (;;)
        {
            const int c = PeekCharacter();
            if (c == '/' || c == '>')
                break;
            if (c == kEndOfInput)
                FailAtEnd(L">");
            ReadAttribute();
            SkipWhiteSpace();
        }
        StoreAttributes(element.Attributes());
        if (PeekCharacter() == '/')
        {
            ++mPos;
            Eat(">");
            NewElement(XMLElement::ElementType_End).Name().assign(element.Name());
        }
        else
        {
            Eat(">");
            ++mOpenElements;
        }
    }

    // Reads one name="value" pair into a node of mNewAttributes. The name is an XML name (it need not
    // start as one), which white space may separate from "=".
    void ReadAttribute()
    {
        const uint8_t* nameEnd = mPos;
        while (nameEnd < mEnd)
        {
            if (*nameEnd < 0x80)
            {
                if (!IsNameCharacter(*nameEnd))
                    break;
                ++nameEnd;
                continue;
            }
            const uint8_t* next = nameEnd;
            const int c = DecodeCharacter(next, mEnd);
            if (!IsNameCharacter(c))
                break;
            nameEnd = next;
        }
        if (nameEnd == mPos)
        {
            const int c = PeekCharacter();
            if (c == kEndOfInput)
            {
                mPos = mEnd;
                FailAtEnd(L"=");
            }
            Fail(StringFormatter(L"Expected attribute name, got '%1%'").Arg(static_cast<wchar_t>(c)).c_str());
        }
        mNewAttributes.push_back(TakeNode());
        AttributeMap::node_type& node = mNewAttributes.back();
        DecodeRange(node.key(), mPos, nameEnd);
        mPos = nameEnd;
        SkipWhiteSpace();
        Eat("=");

        const int quote = PeekCharacter();
        if (quote == kEndOfInput)
            FailAtEnd(L"\"");
        if (quote != '"' && quote != '\'')
            Fail(StringFormatter(L"Expected quote, got '%1%'").Arg(static_cast<wchar_t>(quote)).c_str());
        ++mPos;
        const uint8_t* close = FindByte(mPos, static_cast<uint8_t>(quote));
        if (close == mEnd)
        {
            mPos = mEnd;
            FailAtEnd(quote == '"' ? L"\"" : L"'");
        }
        if (DecodeRange(node.mapped(), mPos, close))
            DecodeReferences(node.mapped(), mScratch);
        mPos = close + 1;
    }

    // Moves the tag's attributes into the element's map. Sorted first (stably, so that of a repeated name
    // the last value wins), each insertion needs a single comparison at the map's end.
    void StoreAttributes(AttributeMap& attributes)
    {
        const size_t count = mNewAttributes.size();
        if (count <= kInPlaceSortLimit)
        {
            for (size_t i = 1; i < count; ++i)
                for (size_t j = i; j > 0 && KeyLess(mNewAttributes[j].key(), mNewAttributes[j - 1].key()); --j)
                    std::swap(mNewAttributes[j], mNewAttributes[j - 1]);
        }
        else if (!std::is_sorted(mNewAttributes.begin(), mNewAttributes.end(),
                                 [](const AttributeMap::node_type& a, const AttributeMap::node_type& b)
                                 { return KeyLess(a.key(), b.key()); }))
        {
            SortLongTag();
        }
        for (AttributeMap::node_type& node : mNewAttributes)
        {
            const auto position = attributes.insert(attributes.end(), std::move(node));
            if (!node.empty())
            {
                if (mOptions.rejectRepeatedAttributes)
                    Fail(StringFormatter(L"Repeated attribute '%1%'").Arg(node.key()).c_str());
                position->second.swap(node.mapped());
                mNodePool.push_back(std::move(node));
            }
        }
        mNewAttributes.clear();
    }

    // Sorts a tag of any number of attributes stably in n log n. Most comparisons are settled by four
    // characters of each name kept beside its place, without reaching into the names. The nodes are then
    // made afresh in the sorted order, so that the map lies in memory in its own order: walking and freeing
    // a map whose nodes lie out of order costs more than the sort.
    void SortLongTag()
    {
        // The characters after what all the names share tell most of them apart.
        const std::wstring& first = mNewAttributes[0].key();
        size_t shared = first.size();
        for (size_t i = 1; i < mNewAttributes.size() && shared > 0; ++i)
        {
            const std::wstring& name = mNewAttributes[i].key();
            size_t same = 0;
            while (same < shared && same < name.size() && name[same] == first[same])
                ++same;
            shared = same;
        }
        mSortKeys.clear();
        for (size_t i = 0; i < mNewAttributes.size(); ++i)
        {
            const std::wstring& name = mNewAttributes[i].key();
            // 16 bits a character (one past 0xFFFF counts as 0xFFFF), 0 past the name's end (no name holds
            // the character 0); names whose prefixes are equal are told apart whole.
            uint64_t prefix = 0;
            for (size_t k = shared; k < shared + 4; ++k)
                prefix =
                    (prefix << 16) | (k < name.size() ? std::min<uint64_t>(static_cast<uint64_t>(name[k]), 0xFFFF) : 0);
            mSortKeys.push_back({prefix, &name, i});
        }
        std::sort(mSortKeys.begin(), mSortKeys.end(),
                  [](const sSortKey& a, const sSortKey& b)
                  {
                      if (a.prefix != b.prefix)
                          return a.prefix < b.prefix;
                      if (*a.name != *b.name)
                          return KeyLess(*a.name, *b.name);
                      return a.place < b.place;
                  });
        // All the new nodes are made before the old ones are freed, or they would take their places.
        mSortedNodes.clear();
        for (const sSortKey& key : mSortKeys)
        {
            AttributeMap holder;
            holder.emplace(*key.name, mNewAttributes[key.place].mapped());
            mSortedNodes.push_back(holder.extract(holder.begin()));
        }
        mNewAttributes.swap(mSortedNodes);
        mSortedNodes.clear();
    }

    // The map's own order (character by character, then shorter first), without a library call per test.
    static bool KeyLess(const std::wstring& a, const std::wstring& b)
    {
        const size_t common = std::min(a.size(), b.size());
        for (size_t i = 0; i < common; ++i)
            if (a[i] != b[i])
                return a[i] < b[i];
        return a.size() < b.size();
    }

    // The tag name runs up to white space (space, tab, line feed, carriage return), "/", ">" or the end.
    void ReadName(std::wstring& name)
    {
        const uint8_t* p = mPos;
        while (p < mEnd && !IsNameDelimiter(*p))
            ++p;
        DecodeRange(name, mPos, p);
        mPos = p;
    }

    static bool IsNameDelimiter(uint8_t c)
    {
        return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '/' || c == '>';
    }

    // Skips a comment or processing instruction through `terminator`, following overlapping partial
    // matches. A "<!--" inside opens a nested comment that its own "-->" must close first.
    void SkipUntil(const char* terminator)
    {
        const size_t terminatorLength = std::strlen(terminator);
        int nestedComments = 0;
        for (;;)
        {
            if (mPos >= mEnd)
                FailAtEnd(nestedComments > 0 ? L"-->" : (terminator[0] == '-' ? L"-->" : L"?>"));
            if (StartsWith("<!--", 4))
            {
                ++nestedComments;
                mPos += 4;
            }
            else if (nestedComments > 0 && StartsWith("-->", 3))
            {
                --nestedComments;
                mPos += 3;
            }
            else if (nestedComments == 0 && StartsWith(terminator, terminatorLength))
            {
                mPos += terminatorLength;
                return;
            }
            else
            {
                ++mPos;
            }
        }
    }

    bool StartsWith(const char* literal, size_t length) const
    {
        return static_cast<size_t>(mEnd - mPos) >= length && std::memcmp(mPos, literal, length) == 0;
    }

    // Consumes `literal` character by character.
    void Eat(const char* literal)
    {
        for (const char* expected = literal; *expected != 0; ++expected)
        {
            const int c = ReadCharacter();
            if (c == kEndOfInput)
                FailAtEnd(ConvertStringASCIIToWide(literal).c_str());
            if (c != static_cast<unsigned char>(*expected))
                Fail(StringFormatter(L"Couldn't eat '%1%'").Arg(literal).c_str());
        }
    }

    int PeekCharacter() const
    {
        if (mPos >= mEnd)
            return kEndOfInput;
        const uint8_t* p = mPos;
        return DecodeCharacter(p, mEnd);
    }

    int ReadCharacter()
    {
        if (mPos >= mEnd)
            return kEndOfInput;
        return DecodeCharacter(mPos, mEnd);
    }

    void SkipWhiteSpace()
    {
        while (mPos < mEnd)
        {
            const uint8_t c = *mPos;
            if (c < 0x80)
            {
                if (!IsAsciiWhiteSpace(c))
                    return;
                ++mPos;
                continue;
            }
            const uint8_t* p = mPos;
            if (!IsWhiteSpace(DecodeCharacter(p, mEnd)))
                return;
            mPos = p;
        }
    }

    // The last `byte` in [from, to), or null.
    static const uint8_t* FindLastByte(const uint8_t* from, const uint8_t* to, uint8_t byte)
    {
        while (to > from)
            if (*--to == byte)
                return to;
        return nullptr;
    }

    // The first `byte` at or after `from`, or the end of the input.
    const uint8_t* FindByte(const uint8_t* from, uint8_t byte) const
    {
        const void* found = std::memchr(from, byte, static_cast<size_t>(mEnd - from));
        return found != nullptr ? static_cast<const uint8_t*>(found) : mEnd;
    }

    // Replaces `out` with the characters of [begin, end); true when the range holds an "&". The range ends
    // at an ASCII byte or at the end of the input, so no sequence inside it runs past it; one cut short by
    // the end of the input is dropped.
    bool DecodeRange(std::wstring& out, const uint8_t* begin, const uint8_t* end) const
    {
        out.resize(static_cast<size_t>(end - begin));
        wchar_t* w = out.data();
        const uint8_t* p = begin;
        bool ampersand = false;
        while (p < end)
        {
            const uint8_t c = *p;
            if (c - 1u < 0x7Fu)
            {
                ampersand |= c == '&';
                *w++ = static_cast<wchar_t>(c);
                ++p;
                continue;
            }
            const int decoded = DecodeCharacter(p, mEnd);
            if (decoded == kEndOfInput)
                break;
            *w++ = static_cast<wchar_t>(decoded);
        }
        out.resize(static_cast<size_t>(w - out.data()));
        return ampersand;
    }

    ParsedElement& NewElement(int32_t type)
    {
        ParsedElement& element = mPending[mPendingHead + mPendingCount];
        ++mPendingCount;
        AttributeMap& attributes = element.Attributes();
        RecycleNodes(attributes);
        element.SetType(type);
        element.Name().clear();
        return element;
    }

    void RecycleNodes(AttributeMap& attributes)
    {
        while (!attributes.empty())
            mNodePool.push_back(attributes.extract(attributes.begin()));
    }

    AttributeMap::node_type TakeNode()
    {
        if (mNodePool.empty())
        {
            AttributeMap holder;
            holder.emplace();
            return holder.extract(holder.begin());
        }
        AttributeMap::node_type node = std::move(mNodePool.back());
        mNodePool.pop_back();
        return node;
    }

    [[noreturn]] void Fail(const std::wstring& message) { STRATA_THROW(XMLError, mFileName, GetCurLine(), message); }

    [[noreturn]] void FailAtEnd(const wchar_t* expected)
    {
        FailAtEndWith(StringFormatter(L"EOF while eating '%1%'").Arg(expected).c_str());
    }

    [[noreturn]] void FailAtEndWith(const std::wstring& message)
    {
        // The read that met the end has begun the line after a final line feed.
        int line = GetCurLine();
        if (mPos > mBegin && mPos[-1] == '\n' && line < INT_MAX)
            ++line;
        STRATA_THROW(XMLError, mFileName, line, message);
    }

    std::wstring mFileName;
    std::vector<uint8_t> mData;
    sXMLReaderOptions mOptions;
    const uint8_t* mBegin = nullptr;
    const uint8_t* mPos = nullptr;
    const uint8_t* mEnd = nullptr;
    // Lines are counted lazily, only when asked for.
    const uint8_t* mLineScanPos = nullptr;
    size_t mLineFeeds = 0;

    ParsedElement mCurrent;
    bool mHasCurrent = false;
    // A step adds at most two elements, and steps run only when none wait.
    ParsedElement mPending[2];
    int mPendingHead = 0;
    int mPendingCount = 0;
    bool mFailed = false;
    // Start tags not yet closed, whether any was read, whether the input ended inside a reference, and
    // whether it holds nothing but white space.
    size_t mOpenElements = 0;
    bool mElementSeen = false;
    bool mCutReference = false;
    bool mBlank = false;

    // Attribute nodes of elements read earlier, reused with their strings' storage.
    std::vector<AttributeMap::node_type> mNodePool;
    std::vector<AttributeMap::node_type> mNewAttributes;
    // A long tag's names as they are sorted: a few characters, the whole name, and its place in the tag.
    struct sSortKey
    {
        uint64_t prefix;
        const std::wstring* name;
        size_t place;
    };
    std::vector<sSortKey> mSortKeys;
    std::vector<AttributeMap::node_type> mSortedNodes;
    std::wstring mScratch;
};

} // namespace

// -------------------------------------------------------------------------------------------------------------

std::unique_ptr<IXMLReader> CreateXMLReader(IStream* source, const sXMLReaderOptions& options)
{
    if (source == nullptr)
        STRATA_THROW(RuntimeError, "CreateXMLReader: no stream");
    std::vector<uint8_t> data;
    if (source->GetCapabilities() & StreamCaps_ReadOptimized)
    {
        void* bytes = nullptr;
        const size_t count = source->ReadOptimized(bytes, source->GetLength());
        if (bytes != nullptr && count > 0)
        {
            const uint8_t* first = static_cast<const uint8_t*>(bytes);
            data.assign(first, first + count);
        }
    }
    else
    {
        uint8_t block[kCopyBlockSize];
        while (!source->IsEOF())
        {
            const size_t count = std::min(source->Read(block, sizeof(block)), sizeof(block));
            if (count == 0)
                break; // a stream that makes no progress ends the copy
            data.insert(data.end(), block, block + count);
        }
    }
    return std::make_unique<XMLDocumentReader>(source->GetName(), std::move(data), options);
}

// -------------------------------------------------------------------------------------------------------------

XMLElementReader::XMLElementReader(IXMLReader* reader) : mReader(reader)
{
}

bool XMLElementReader::IsEOF()
{
    if (mDepth == 0 || mReader == nullptr)
        return true;
    return !mFirstReadPending && mReader->IsEOF();
}

const XMLElement* XMLElementReader::ReadElement()
{
    if (mReader == nullptr)
        return nullptr;
    const XMLElement* element = nullptr;
    if (mFirstReadPending)
    {
        mFirstReadPending = false;
        element = mReader->GetCurrentElement();
    }
    else
    {
        element = mReader->ReadElement();
    }
    if (element != nullptr)
    {
        if (element->IsStartElement())
            ++mDepth;
        else if (element->IsEndElement())
            --mDepth;
    }
    return element;
}

const XMLElement* XMLElementReader::GetCurrentElement()
{
    return mReader != nullptr ? mReader->GetCurrentElement() : nullptr;
}

float XMLElementReader::GetProgress()
{
    return 0.5f;
}

int XMLElementReader::GetCurLine()
{
    return mReader != nullptr ? mReader->GetCurLine() : 0;
}

std::wstring XMLElementReader::GetFileName()
{
    return mReader != nullptr ? mReader->GetFileName() : std::wstring();
}

// -------------------------------------------------------------------------------------------------------------

bool XMLElementList::IsEOF()
{
    return mElements.empty() || static_cast<size_t>(mIndex + 1) >= mElements.size();
}

const XMLElement* XMLElementList::ReadElement()
{
    if (static_cast<size_t>(mIndex + 1) >= mElements.size())
        return nullptr;
    ++mIndex;
    return &mElements[static_cast<size_t>(mIndex)];
}

const XMLElement* XMLElementList::GetCurrentElement()
{
    if (mIndex < 0 || static_cast<size_t>(mIndex) >= mElements.size())
        return nullptr;
    return &mElements[static_cast<size_t>(mIndex)];
}

float XMLElementList::GetProgress()
{
    if (IsEOF())
        return 1.0f;
    return static_cast<float>(mIndex + 1) / static_cast<float>(mElements.size());
}

int XMLElementList::GetCurLine()
{
    return 0;
}

std::wstring XMLElementList::GetFileName()
{
    return std::wstring();
}

void CopyAllElements(IXMLReader& reader, XMLElementList* list)
{
    if (list == nullptr)
        return;
    do
    {
        const XMLElement* element = reader.ReadElement();
        if (element == nullptr)
            break;
        list->AddElement(*element);
    } while (!reader.IsEOF());
}

} // namespace Strata
