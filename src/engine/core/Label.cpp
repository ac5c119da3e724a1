#include "core/Label.h"

#include "core/CaselessStringHasher.h"
#include "core/Threading.h"
#include "core/WideString.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

namespace Strata
{

namespace
{

// An open-addressing table whose index slots point into a dense entry array kept in insertion order.
template <typename K, typename V, typename Hasher>
class cHashMap
{
public:
    struct Entry
    {
        K key{};
        V value{};
    };

    // Throws std::bad_alloc when the arrays cannot be allocated.
    cHashMap(int32_t initialCapacity, V missingValue)
        : mInitialCapacity(static_cast<uint32_t>(initialCapacity > 0 ? initialCapacity : 1)),
          mMissingValue(missingValue)
    {
        Init(static_cast<int32_t>(mInitialCapacity));
    }

    cHashMap(const cHashMap&) = delete;
    cHashMap& operator=(const cHashMap&) = delete;

    // Empties the table at the given capacity (at least 1). Throws std::bad_alloc and then leaves
    // the table as it was.
    void Init(int32_t capacity)
    {
        if (capacity < 1)
            capacity = 1;
        std::unique_ptr<Entry*[]> index(new Entry*[static_cast<size_t>(capacity)]());
        std::unique_ptr<Entry[]> entries(new Entry[static_cast<size_t>(capacity)]);
        uint32_t mask = 0;
        while (mask < static_cast<uint32_t>(capacity - 1))
            mask = (mask << 1) | 1;

        mCapacity = capacity;
        mEntryCount = 0;
        mTombstoneCount = 0;
        mProbeMask = mask;
        mIndex = std::move(index);
        mEntries = std::move(entries);
    }

    // The slot holding the key, or -1 when it is absent.
    int32_t FindIndexForGet(K key) const
    {
        return Probe(
            key,
            [this, key](Entry* slot)
            {
                if (slot == nullptr)
                    return Visit::Stop;
                if (slot == GetTombstone() || !mHasher.AreKeysEqual(slot->key, key))
                    return Visit::Next;
                return Visit::Found;
            });
    }

    // The first empty or tombstone slot on the key's probe path, or -1 when the table is full.
    int32_t FindIndexForSet(K key) const
    {
        return Probe(
            key, [](Entry* slot) { return (slot == nullptr || slot == GetTombstone()) ? Visit::Found : Visit::Next; });
    }

    // Appends a new entry without looking for the key. 0, or -1 when there is no room (nothing changes).
    int InsertValue(K key, V value)
    {
        if (mEntryCount >= static_cast<uint32_t>(mCapacity))
            return -1;
        const int32_t slot = FindIndexForSet(key);
        if (slot < 0)
            return -1;
        if (mIndex[slot] == GetTombstone())
            --mTombstoneCount;
        Entry* row = &mEntries[mEntryCount++];
        row->key = key;
        row->value = value;
        mIndex[slot] = row;
        return 0;
    }

    // Replaces the value of a present key, else inserts it, doubling the table first when it would
    // reach three quarters full. 0, or -1 when no slot is found. Throws std::bad_alloc when growth
    // cannot allocate; the table is then unchanged.
    int SetValue(K key, V value)
    {
        const int32_t found = FindIndexForGet(key);
        if (found >= 0)
        {
            mIndex[found]->value = value;
            return 0;
        }
        const int64_t used = static_cast<int64_t>(mEntryCount) + mTombstoneCount;
        if (static_cast<int64_t>(mCapacity) * 96 <= used * 128 + 128 && mCapacity <= INT32_MAX / 2)
            Rebuild(mCapacity * 2);
        return InsertValue(key, value);
    }

    // Re-inserts every entry in order into tables of the new capacity (a negative one keeps the
    // capacity), dropping tombstones. -1 when the capacity cannot hold the entries (nothing changes).
    // Throws std::bad_alloc and then leaves the table as it was.
    int Rebuild(int32_t newCapacity)
    {
        if (newCapacity < 0)
            newCapacity = mCapacity;
        if (newCapacity < 1 || static_cast<uint32_t>(newCapacity) < mEntryCount)
            return -1;
        std::unique_ptr<Entry[]> oldEntries = std::move(mEntries);
        std::unique_ptr<Entry*[]> oldIndex = std::move(mIndex);
        const uint32_t oldCount = mEntryCount;
        const int32_t oldCapacity = mCapacity;
        const uint32_t oldTombstones = mTombstoneCount;
        const uint32_t oldMask = mProbeMask;
        try
        {
            Init(newCapacity);
        }
        catch (...)
        {
            mEntries = std::move(oldEntries);
            mIndex = std::move(oldIndex);
            mEntryCount = oldCount;
            mCapacity = oldCapacity;
            mTombstoneCount = oldTombstones;
            mProbeMask = oldMask;
            throw;
        }
        for (uint32_t i = 0; i < oldCount; ++i)
            InsertValue(oldEntries[i].key, oldEntries[i].value);
        return 0;
    }

    static Entry* GetTombstone()
    {
        static Entry tombstone;
        return &tombstone;
    }

    V GetValue(K key) const
    {
        const int32_t slot = FindIndexForGet(key);
        return slot >= 0 ? mIndex[slot]->value : mMissingValue;
    }

    uint32_t GetCount() const { return mEntryCount; }
    const Entry& GetEntry(uint32_t i) const { return mEntries[i]; }

private:
    enum class Visit
    {
        Found,
        Next,
        Stop
    };

    // The key's probe path: slots chosen by the rehashed key, then, should those all be taken, every
    // slot in turn, so a free slot is always reached while one exists. Returns the slot the visitor
    // accepts, or -1.
    template <typename Visitor>
    int32_t Probe(K key, Visitor visit) const
    {
        const uint32_t capacity = static_cast<uint32_t>(mCapacity);
        uint32_t h = mHasher.ComputeHash(key);
        uint32_t slot = 0;
        for (uint32_t step = 0; step < capacity; ++step)
        {
            slot = h & mProbeMask;
            if (slot >= capacity)
                slot -= capacity;
            const Visit result = visit(mIndex[slot]);
            if (result == Visit::Found)
                return static_cast<int32_t>(slot);
            if (result == Visit::Stop)
                return -1;
            h = ~(h >> 8) ^ (h * 1987u);
        }
        for (uint32_t step = 0; step < capacity; ++step)
        {
            slot = (slot + 1 == capacity) ? 0 : slot + 1;
            const Visit result = visit(mIndex[slot]);
            if (result == Visit::Found)
                return static_cast<int32_t>(slot);
            if (result == Visit::Stop)
                return -1;
        }
        return -1;
    }

    int32_t mCapacity = 0;
    uint32_t mInitialCapacity;
    uint32_t mEntryCount = 0;
    uint32_t mTombstoneCount = 0;
    V mMissingValue;
    uint32_t mProbeMask = 0;
    std::unique_ptr<Entry*[]> mIndex;
    std::unique_ptr<Entry[]> mEntries;
    Hasher mHasher;
};

// Copies names into one fixed arena while it has room; a copy that does not fit goes on the heap alone.
class cStringDuper
{
public:
    static constexpr size_t kArenaSize = 65536;

    // Null gives null. Throws std::bad_alloc when a heap copy cannot be made.
    char* Duplicate(const char* text)
    {
        if (text == nullptr)
            return nullptr;
        const size_t size = std::strlen(text) + 1;
        char* copy;
        if (size <= static_cast<size_t>(mArena + kArenaSize - mFill))
        {
            copy = mFill;
            mFill += size;
        }
        else
        {
            copy = new char[size];
        }
        std::memcpy(copy, text, size);
        return copy;
    }

    bool Owns(const char* text) const { return text >= mArena && text < mArena + kArenaSize; }

private:
    char mArena[kArenaSize];
    char* mFill = mArena;
};

class LabelDictionary
{
public:
    LabelDictionary() : mMap(16, nullptr) {}

    // Frees the heap copies, last first; arena copies go with the arena.
    ~LabelDictionary()
    {
        for (uint32_t i = mMap.GetCount(); i-- > 0;)
        {
            char* text = mMap.GetEntry(i).value;
            if (!mDuper.Owns(text))
                delete[] text;
        }
    }

    LabelDictionary(const LabelDictionary&) = delete;
    LabelDictionary& operator=(const LabelDictionary&) = delete;

    const char* GetUniqueString(const char* text)
    {
        if (text == nullptr)
            return nullptr;
        if (const char* stored = mMap.GetValue(text))
            return stored;

        char* copy = mDuper.Duplicate(text);
        int result;
        try
        {
            result = mMap.SetValue(copy, copy);
        }
        catch (...)
        {
            if (!mDuper.Owns(copy))
                delete[] copy;
            throw;
        }
        if (result != 0)
        {
            if (!mDuper.Owns(copy))
                delete[] copy;
            throw std::length_error("label table full");
        }
        return copy;
    }

private:
    cHashMap<const char*, char*, cCaselessStringHasher> mMap;
    cStringDuper mDuper;
};

// Built in place on first use, so labels made by static initialisers need no heap for the table object.
alignas(LabelDictionary) unsigned char gDictionaryStorage[sizeof(LabelDictionary)];
LabelDictionary* gDictionary = nullptr;

// Made once, safely even when the first labels come from several threads at once. Never destroyed:
// static destructors that run late may still make labels.
IMutex* LabelMutex()
{
    static IMutex* const mutex = CreateMutex();
    return mutex;
}

} // namespace

const char* Label::GetUniqueString(const char* text)
{
    if (text == nullptr)
        return nullptr;
    ScopedLock lock(LabelMutex());
    if (gDictionary == nullptr)
        gDictionary = new (gDictionaryStorage) LabelDictionary();
    return gDictionary->GetUniqueString(text);
}

Label::Label(const wchar_t* text)
{
    if (text != nullptr)
        mString = GetUniqueString(TruncateStringWideToASCII(text).c_str());
}

Label::Label(const char* text) : mString(GetUniqueString(text))
{
}

Label Label::FromString(const std::wstring& text)
{
    return Label(text.c_str());
}

Label Label::FromString(const std::string& text)
{
    return Label(text.c_str());
}

Label Label::FromStringF(const char* format, ...)
{
    if (format == nullptr)
        return Label();

    char buffer[4096];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);

    if (length < 0)
    {
        va_end(again);
        return Label();
    }
    if (static_cast<size_t>(length) < sizeof(buffer))
    {
        va_end(again);
        return Label(buffer);
    }

    // Too long for the stack buffer: format again into one of the exact size.
    std::unique_ptr<char[]> large(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
    if (!large)
    {
        va_end(again);
        throw std::bad_alloc();
    }
    const int second = std::vsnprintf(large.get(), static_cast<size_t>(length) + 1, format, again);
    va_end(again);
    if (second != length)
        return Label();
    return Label(large.get());
}

void Label::Shutdown()
{
    ScopedLock lock(LabelMutex());
    if (gDictionary != nullptr)
    {
        gDictionary->~LabelDictionary();
        gDictionary = nullptr;
    }
}

} // namespace Strata
