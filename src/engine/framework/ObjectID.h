#pragma once

#include <cstdint>

namespace Strata
{

// An object's handle within its database: low 16 bits the slot index, high 16 bits the slot's
// generation. A freed slot's next occupant gets the next generation, so old handles find nothing.
class ObjectID
{
public:
    static constexpr uint32_t kInvalidValue = 0xFFFFFFFFu;

    constexpr ObjectID() = default;
    constexpr explicit ObjectID(uint32_t value) : mValue(value) {}
    constexpr ObjectID(uint32_t index, uint32_t generation) : mValue(((generation & 0xFFFFu) << 16) | (index & 0xFFFFu))
    {
    }

    static constexpr ObjectID Invalid() { return ObjectID(); }

    constexpr uint32_t GetValue() const { return mValue; }
    constexpr uint32_t GetIndex() const { return mValue & 0xFFFFu; }
    constexpr uint32_t GetGeneration() const { return mValue >> 16; }
    constexpr bool IsInvalid() const { return mValue == kInvalidValue; }

    constexpr bool operator==(const ObjectID& other) const { return mValue == other.mValue; }
    constexpr bool operator!=(const ObjectID& other) const { return mValue != other.mValue; }
    constexpr bool operator<(const ObjectID& other) const { return mValue < other.mValue; }

private:
    uint32_t mValue = kInvalidValue;
};

inline constexpr ObjectID kInvalidObjectID{};

} // namespace Strata
