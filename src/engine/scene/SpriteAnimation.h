#pragma once

#include "core/Label.h"
#include "framework/ResourceManager.h"

#include <cstdint>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace Strata
{

class IAttributeContainer;
class IXMLReader;

// One frame of a sprite animation: an index into the sprite type's image list and its display time.
struct AnimFrame
{
    int32_t index = 0;
    float duration = 1.0f;

    bool operator==(const AnimFrame&) const = default;
};

// The most frames one frame list may give, so that a range such as 0-2000000000 is refused rather
// than filling memory.
inline constexpr size_t kMaxAnimationFrames = 10000;
// The shortest frame: shorter durations (and those that are not finite) are raised to it, so no
// animation can step through thousands of frames in one update.
inline constexpr float kMinFrameDuration = 0.001f;

// A failure to read an animation. Its message is composed from the names known so far:
// `in SpriteType "<type>": in animation "<anim>": <message>` (or `in SpriteAnimationList "<list>": `
// in place of the type).
class AnimationParseError : public std::runtime_error
{
public:
    AnimationParseError(const std::string& message, const std::string& animName = std::string(),
                        const std::string& spriteTypeName = std::string());

    const char* what() const noexcept override { return mFinalString.c_str(); }
    const std::string& GetMessage() const { return mMessage; }

    void setAnimName(const std::string& name);
    void setSpriteTypeName(const std::string& name);
    void setSpriteAnimationListName(const std::string& name);

private:
    void generateFinalString();

    std::string mSpriteTypeName;
    std::string mSpriteAnimationListName;
    std::string mAnimName;
    std::string mMessage;
    std::string mFinalString;
};

// A token of a frame-list string. pos is the column of a comma or dash, and the column just after
// the last digit of an integer.
struct FrameListToken
{
    enum Kind
    {
        Integer,
        Comma,
        Dash,
        End
    };

    Kind kind = End;
    std::string text;
    int pos = 1;
    int line = 1;
};

// Splits a frame list such as "0-3, 7" into tokens, ending with an End token "<end of list>". Throws
// AnimationParseError for any character other than digits, ',', '-', blanks, tabs and line feeds.
std::deque<FrameListToken> TokenizeString(const std::string& frameList);

// The frames a frame list names, each of duration 1.0; an empty list gives none. Throws
// AnimationParseError for a grammar error or a list of more than kMaxAnimationFrames frames, and
// std::out_of_range for a number that does not fit a 32-bit int.
std::vector<AnimFrame> ParseFrameListString(const std::string& frameList);

// A named sequence of frames with a play count, a ping-pong flag and the animation that follows it.
class SpriteAnimation
{
public:
    // One frame {0, 1.0}, no link resolved.
    explicit SpriteAnimation(Label name = Label(), int numPlays = 1, bool pingPong = false,
                             Label linkedAnimation = Label());
    // Reads an "animation" element; `reader` is scoped to it (its own start tag comes first). Throws
    // AnimationParseError (named after the animation) for a bad frame list.
    SpriteAnimation(const IAttributeContainer& attributes, IXMLReader& reader);

    // Replaces the frames; an empty list gives the single frame {0, 1.0}. Durations below
    // kMinFrameDuration, and those that are not finite, become kMinFrameDuration.
    void SetFrameList(const std::vector<AnimFrame>& frames);
    // Parses the list, then gives every frame the same duration: value / frames when
    // valueIsDuration, else 1 / value (value in frames per second). On a parse error nothing changes.
    void SetFrameListString(const std::string& frameList, float value, bool valueIsDuration);

    Label name;
    std::vector<AnimFrame> frames{AnimFrame{}};
    // 0 or negative plays endlessly.
    int32_t numPlays = 1;
    bool pingPong = false;
    // The null label for none.
    Label linkedAnimation;
    // Resolved inside one sprite type; null elsewhere.
    const SpriteAnimation* linked = nullptr;

private:
    void ParseFrameChildren(IXMLReader& reader);
};

// Animations by name, shared by the sprite types that copy them.
class SpriteAnimationList
{
public:
    virtual ~SpriteAnimationList() = default;

    // Stores a copy, replacing an animation of the same name. The copy's link is never resolved here.
    void AddAnimation(const SpriteAnimation& animation);
    const std::map<Label, SpriteAnimation>& GetAnimations() const { return mAnimations; }

private:
    std::map<Label, SpriteAnimation> mAnimations;
};

// The "animation" children of the element the reader has just read, in document order. A bad one
// throws its AnimationParseError (a number too large throws std::out_of_range).
std::vector<SpriteAnimation> ReadAnimationElements(IXMLReader& element);

// The manifest tag "spriteanimationlist": a ResourceWrapper<SpriteAnimationList> of its "animation"
// children. A bad animation throws its AnimationParseError named after the list (a number too large
// throws std::out_of_range); nothing is kept then.
class SpriteAnimationListResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

} // namespace Strata
