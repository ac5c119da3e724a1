#pragma once

#include "core/Random.h"
#include "core/RuntimeError.h"

#include <algorithm>
#include <iterator>
#include <list>

namespace Yardcrew
{

// The values 0 to count-1 of an enumeration, drawn in random order without repeats: a fresh deck of
// count n yields each value exactly once in n draws. The mini-games keep one on the stack while they
// build a level, to pick colours, shapes and places.
template <class T>
class EnumTypeDeck
{
public:
    // A negative count is an empty deck.
    explicit EnumTypeDeck(int count) : mCount(std::max(count, 0)) { reshuffleDeck(); }

    // Puts every value back, in ascending order.
    void reshuffleDeck()
    {
        mCards.clear();
        for (int value = 0; value < mCount; ++value)
            mCards.push_back(static_cast<T>(value));
    }

    // Removes a card chosen uniformly from the current random stream and returns it. A deck drawn
    // empty is reshuffled first, so a level that asks for more cards than there are values gets
    // repeats rather than garbage; drawing from a deck of no values throws a RuntimeError.
    T DrawCard()
    {
        if (mCards.empty())
            reshuffleDeck();
        if (mCards.empty())
            STRATA_THROW(Strata::RuntimeError, "EnumTypeDeck: drawing from a deck of no values");
        const int last = static_cast<int>(mCards.size()) - 1;
        const int index = std::clamp(Strata::Random::GetIntRange(0, last), 0, last);
        auto card = std::next(mCards.begin(), index);
        const T value = *card;
        mCards.erase(card);
        return value;
    }

    int getCount() const { return mCount; }
    int getRemaining() const { return static_cast<int>(mCards.size()); }

private:
    int mCount;
    std::list<T> mCards;
};

} // namespace Yardcrew
