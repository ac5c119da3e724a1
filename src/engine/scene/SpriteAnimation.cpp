#include "scene/SpriteAnimation.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace Strata
{

namespace
{

std::string Position(int line, int pos)
{
    return "(line " + std::to_string(line) + ", pos " + std::to_string(pos) + ")";
}

[[noreturn]] void ThrowIllegalToken(const FrameListToken& token, const char* expectation)
{
    throw AnimationParseError("illegal token '" + token.text + "' " + Position(token.line, token.pos) + ". " +
                              expectation);
}

// Recursive descent over the token queue; the list levels are loops, so a long list cannot exhaust
// the stack.
class FrameListParser
{
public:
    explicit FrameListParser(std::deque<FrameListToken> tokens) : mTokens(std::move(tokens)) {}

    std::vector<AnimFrame> ParseNumberListBegin()
    {
        const FrameListToken& first = PeekNextToken();
        if (first.kind == FrameListToken::End)
            return std::move(mFrames);
        if (first.kind != FrameListToken::Integer)
            ThrowIllegalToken(first, "");
        ParseNumber();
        ParseNumberListContinue();
        return std::move(mFrames);
    }

private:
    void ParseNumberListContinue()
    {
        for (;;)
        {
            const FrameListToken token = GetNextToken();
            if (token.kind == FrameListToken::End)
                return;
            if (token.kind != FrameListToken::Comma)
                ThrowIllegalToken(token, "(Expected ',').");
            ParseNumber();
        }
    }

    void ParseNumber()
    {
        const FrameListToken& startToken = PeekNextToken();
        const int line = startToken.line;
        const int pos = startToken.pos;
        const int32_t first = ParseIntegerLiteral();
        int32_t last = first;
        if (PeekNextToken().kind == FrameListToken::Dash)
        {
            GetNextToken();
            last = ParseIntegerLiteral();
        }
        // In 64 bits: a range up to INT_MAX must neither overflow nor be walked when it is too long.
        const int64_t count = std::llabs(static_cast<int64_t>(last) - first) + 1;
        if (count > static_cast<int64_t>(kMaxAnimationFrames - mFrames.size()))
        {
            throw AnimationParseError("frame list has more than " + std::to_string(kMaxAnimationFrames) + " frames " +
                                      Position(line, pos));
        }
        const int step = first <= last ? 1 : -1;
        for (int64_t i = 0; i < count; ++i)
            mFrames.push_back(AnimFrame{static_cast<int32_t>(first + step * i), 1.0f});
    }

    int32_t ParseIntegerLiteral()
    {
        const FrameListToken token = GetNextToken();
        if (token.kind != FrameListToken::Integer)
            ThrowIllegalToken(token, "(Expected an integer).");
        int32_t value = 0;
        const char* end = token.text.data() + token.text.size();
        const auto result = std::from_chars(token.text.data(), end, value);
        if (result.ec != std::errc() || result.ptr != end)
            throw std::out_of_range("frame index " + token.text + " does not fit a 32-bit int");
        return value;
    }

    const FrameListToken& PeekNextToken() const { return mTokens.front(); }

    // The end token is never removed, so every read past the end sees it again.
    FrameListToken GetNextToken()
    {
        FrameListToken token = mTokens.front();
        if (token.kind != FrameListToken::End)
            mTokens.pop_front();
        return token;
    }

    std::deque<FrameListToken> mTokens;
    std::vector<AnimFrame> mFrames;
};

float PositiveOrOne(float value)
{
    return std::isfinite(value) && value > 0.0f ? value : 1.0f;
}

} // namespace

AnimationParseError::AnimationParseError(const std::string& message, const std::string& animName,
                                         const std::string& spriteTypeName)
    : std::runtime_error(std::string()), mSpriteTypeName(spriteTypeName), mAnimName(animName), mMessage(message)
{
    generateFinalString();
}

void AnimationParseError::setAnimName(const std::string& name)
{
    mAnimName = name;
    generateFinalString();
}

void AnimationParseError::setSpriteTypeName(const std::string& name)
{
    mSpriteTypeName = name;
    generateFinalString();
}

void AnimationParseError::setSpriteAnimationListName(const std::string& name)
{
    mSpriteAnimationListName = name;
    generateFinalString();
}

void AnimationParseError::generateFinalString()
{
    mFinalString.clear();
    if (!mSpriteTypeName.empty())
        mFinalString += "in SpriteType \"" + mSpriteTypeName + "\": ";
    else if (!mSpriteAnimationListName.empty())
        mFinalString += "in SpriteAnimationList \"" + mSpriteAnimationListName + "\": ";
    if (!mAnimName.empty())
        mFinalString += "in animation \"" + mAnimName + "\": ";
    mFinalString += mMessage.empty() ? std::string("(unspecified error)") : mMessage;
}

std::deque<FrameListToken> TokenizeString(const std::string& frameList)
{
    std::deque<FrameListToken> tokens;
    int line = 1;
    int pos = 1;
    size_t i = 0;
    while (i < frameList.size())
    {
        const char c = frameList[i];
        if (c == ',' || c == '-')
        {
            tokens.push_back({c == ',' ? FrameListToken::Comma : FrameListToken::Dash, std::string(1, c), pos, line});
            ++pos;
            ++i;
        }
        else if (c >= '0' && c <= '9')
        {
            const size_t start = i;
            while (i < frameList.size() && frameList[i] >= '0' && frameList[i] <= '9')
            {
                ++i;
                ++pos;
            }
            tokens.push_back({FrameListToken::Integer, frameList.substr(start, i - start), pos, line});
        }
        else if (c == ' ' || c == '\t')
        {
            ++pos;
            ++i;
        }
        else if (c == '\n')
        {
            ++line;
            pos = 1;
            ++i;
        }
        else
        {
            throw AnimationParseError("unrecognized token '" + std::string(1, c) + "' " + Position(line, pos));
        }
    }
    tokens.push_back({FrameListToken::End, "<end of list>", pos, line});
    return tokens;
}

std::vector<AnimFrame> ParseFrameListString(const std::string& frameList)
{
    return FrameListParser(TokenizeString(frameList)).ParseNumberListBegin();
}

SpriteAnimation::SpriteAnimation(Label name_, int numPlays_, bool pingPong_, Label linkedAnimation_)
    : name(name_), numPlays(numPlays_), pingPong(pingPong_), linkedAnimation(linkedAnimation_)
{
}

SpriteAnimation::SpriteAnimation(const IAttributeContainer& attributes, IXMLReader& reader)
{
    // Every attribute is read before the reader moves on, which replaces the element they belong to.
    name = Label::FromString(attributes.GetAttribute(L"name"));
    // An absent or empty link is no link: it must not chain to an animation stored under the empty name.
    const std::wstring link = attributes.GetAttribute(L"linkedAnimation");
    linkedAnimation = link.empty() ? Label() : Label::FromString(link);
    if (attributes.HasAttribute(L"numPlays"))
    {
        numPlays = attributes.GetAttribute(L"numPlays", 1);
    }
    else
    {
        const int loops = attributes.GetAttribute(L"numLoops", 0);
        numPlays = loops < 0 ? 1 : (loops == INT_MAX ? INT_MAX : loops + 1);
    }
    if (numPlays == 0)
        numPlays = -1;
    pingPong = attributes.GetAttribute(L"pingPong", false);

    const bool hasDuration = attributes.HasAttribute(L"duration");
    const bool fromList = hasDuration || attributes.HasAttribute(L"fps") || attributes.HasAttribute(L"frameList");
    const float value =
        PositiveOrOne(hasDuration ? attributes.GetAttribute(L"duration", 1.0f) : attributes.GetAttribute(L"fps", 1.0f));
    const std::string frameList = TruncateStringWideToASCII(attributes.GetAttribute(L"frameList").c_str());

    if (fromList)
        SetFrameListString(frameList, value, hasDuration);
    else
        ParseFrameChildren(reader);
    // The element is read to its end either way, so its children never reach the caller's reader.
    while (!reader.IsEOF() && reader.ReadElement() != nullptr)
    {
    }
}

void SpriteAnimation::ParseFrameChildren(IXMLReader& reader)
{
    std::vector<AnimFrame> children;
    reader.ReadElement();
    while (!reader.IsEOF())
    {
        const XMLElement* item = reader.ReadElement();
        if (item == nullptr)
            break;
        if (!item->IsStartElement() || item->GetName() != L"frame")
            continue;
        if (children.size() >= kMaxAnimationFrames)
        {
            AnimationParseError error("animation has more than " + std::to_string(kMaxAnimationFrames) + " frames");
            error.setAnimName(name.c_str());
            throw error;
        }
        children.push_back(
            AnimFrame{item->GetAttribute(L"index", 0), PositiveOrOne(item->GetAttribute(L"duration", 1.0f))});
    }
    SetFrameList(children);
}

void SpriteAnimation::SetFrameList(const std::vector<AnimFrame>& newFrames)
{
    frames = newFrames;
    if (frames.empty())
        frames.push_back(AnimFrame{0, 1.0f});
    for (AnimFrame& frame : frames)
        if (std::isnan(frame.duration) || frame.duration < kMinFrameDuration)
            frame.duration = kMinFrameDuration;
}

void SpriteAnimation::SetFrameListString(const std::string& frameList, float value, bool valueIsDuration)
{
    std::vector<AnimFrame> parsed;
    try
    {
        parsed = ParseFrameListString(frameList);
    }
    catch (AnimationParseError& error)
    {
        if (!name.IsNull())
            error.setAnimName(name.c_str());
        throw;
    }
    SetFrameList(parsed);
    const float checked = PositiveOrOne(value);
    const float duration = valueIsDuration ? checked / static_cast<float>(frames.size()) : 1.0f / checked;
    for (AnimFrame& frame : frames)
        frame.duration = duration;
    SetFrameList(frames);
}

void SpriteAnimationList::AddAnimation(const SpriteAnimation& animation)
{
    SpriteAnimation& stored = mAnimations.insert_or_assign(animation.name, animation).first->second;
    stored.linked = nullptr;
}

std::vector<SpriteAnimation> ReadAnimationElements(IXMLReader& element)
{
    std::vector<SpriteAnimation> animations;
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (item->IsStartElement() && item->GetName() == L"animation")
        {
            XMLElementReader scoped(&element);
            animations.emplace_back(*item, scoped);
        }
    }
    return animations;
}

IResourceDescriptor* SpriteAnimationListResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                                        const IAttributeContainer& attributes,
                                                                        IXMLReader& element) const
{
    auto list = std::make_unique<ResourceWrapper<SpriteAnimationList>>(manifest, name, attributes);
    const std::string listName = TruncateStringWideToASCII(attributes.GetAttribute(L"name").c_str());
    try
    {
        for (const SpriteAnimation& animation : ReadAnimationElements(element))
            list->AddAnimation(animation);
    }
    catch (AnimationParseError& error)
    {
        error.setSpriteAnimationListName(listName);
        throw;
    }
    return list.release();
}

} // namespace Strata
