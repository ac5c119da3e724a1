#pragma once

// A level of letter patterns, shared by the games that continue a pattern (the cargo train, the fence):
//
//   <SomeLevel name="..." difficulty="Easy">
//     <Pattern order="AB"/>          (one to kLetterPatternMaxPatterns of these)
//   </SomeLevel>
//
// "order" is read letter by letter: A or a is 0, B or b 1, C or c 2; anything else (spaces, commas)
// is skipped. Every pattern needs one to kLetterPatternMaxLetters letters. A letter names one of three
// things the game draws afresh each round (a cargo, a paint colour), not the thing itself. A game's
// level record derives from this one, so each game's levels stay a type of their own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
}

namespace Yardcrew
{

// A round draws one pattern: sixteen give the longest run of rounds (five, at hard) a fresh pattern
// in each of three games.
constexpr size_t kLetterPatternMaxPatterns = 16;
// The fence's ten boards, the most places either game shows (the train has six): a letter past them is
// never seen.
constexpr size_t kLetterPatternMaxLetters = 10;
// The letters A, B and C.
constexpr int32_t kLetterPatternLetters = 3;

struct LetterPatternLevel
{
    // Letter indexes (0 A, 1 B, 2 C), in file order.
    std::vector<std::vector<int32_t>> patterns;

    // "Pattern" appends one pattern, empty or not; any other tag is ignored.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;

    // The letter at that place of the pattern repeated without end; -1 for an empty pattern.
    static int32_t LetterAt(const std::vector<int32_t>& pattern, size_t place);
};

} // namespace Yardcrew
