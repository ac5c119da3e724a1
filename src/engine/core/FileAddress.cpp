#include "core/FileAddress.h"

#include "core/RuntimeError.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <iterator>
#include <string>

namespace Strata
{

namespace
{
size_t LengthOrZero(const wchar_t* text)
{
    return text != nullptr ? std::wcslen(text) : 0;
}

// Re-points a pointer into one buffer at the same place in another; pointers elsewhere are kept.
const wchar_t* Repoint(const wchar_t* pointer, const wchar_t* from, const wchar_t* to, size_t length)
{
    if (pointer == nullptr)
        return nullptr;
    const std::less<const wchar_t*> before;
    if (!before(pointer, from) && before(pointer, from + length))
        return to + (pointer - from);
    return pointer;
}
} // namespace

FileAddress::FileAddress()
    : mPartition(FileSystemPartition_Resources), mName(nullptr), mExtension(nullptr), mFolder(nullptr),
      mExtra1(nullptr), mExtra2(nullptr), mBuffer{}
{
}

FileAddress::FileAddress(FileSystemPartition partition, const wchar_t* folder, const wchar_t* name,
                         const wchar_t* extension)
    : FileAddress()
{
    Init(partition, folder, name, extension);
}

FileAddress::FileAddress(FileSystemPartition partition, const wchar_t* name, const wchar_t* extension) : FileAddress()
{
    Init(partition, nullptr, name, extension);
}

FileAddress::FileAddress(const wchar_t* name, const wchar_t* extension) : FileAddress()
{
    Init(FileSystemPartition_Resources, nullptr, name, extension);
}

FileAddress::FileAddress(const FileAddress& other) : FileAddress()
{
    CopyFrom(other);
}

FileAddress& FileAddress::operator=(const FileAddress& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void FileAddress::CopyFrom(const FileAddress& other)
{
    mPartition = other.mPartition;
    std::copy(std::begin(other.mBuffer), std::end(other.mBuffer), std::begin(mBuffer));
    mName = Repoint(other.mName, other.mBuffer, mBuffer, kBufferLength);
    mExtension = Repoint(other.mExtension, other.mBuffer, mBuffer, kBufferLength);
    mFolder = Repoint(other.mFolder, other.mBuffer, mBuffer, kBufferLength);
    mExtra1 = Repoint(other.mExtra1, other.mBuffer, mBuffer, kBufferLength);
    mExtra2 = Repoint(other.mExtra2, other.mBuffer, mBuffer, kBufferLength);
}

void FileAddress::Init(FileSystemPartition partition, const wchar_t* folder, const wchar_t* name,
                       const wchar_t* extension)
{
    if (name == nullptr || extension == nullptr)
        STRATA_THROW(RuntimeError, std::string("FileAddress needs a name and an extension."));
    Pack(folder, name, extension);
    mPartition = partition;
    mExtra1 = nullptr;
    mExtra2 = nullptr;
}

void FileAddress::SetFolder(const wchar_t* folder)
{
    if (mName == nullptr || mExtension == nullptr)
        STRATA_THROW(RuntimeError, std::string("FileAddress::SetFolder needs an address with a name."));
    Pack(folder, mName, mExtension);
}

void FileAddress::SetName(const wchar_t* name)
{
    if (name == nullptr)
        STRATA_THROW(RuntimeError, std::string("FileAddress::SetName needs a name."));
    Pack(mFolder, name, mExtension != nullptr ? mExtension : L"");
}

void FileAddress::Pack(const wchar_t* folder, const wchar_t* name, const wchar_t* extension)
{
    const size_t nameLength = LengthOrZero(name);
    const size_t extensionLength = LengthOrZero(extension);
    const size_t folderLength = LengthOrZero(folder);
    const size_t needed = nameLength + 1 + extensionLength + 1 + (folder != nullptr ? folderLength + 1 : 0);
    if (needed > kBufferLength)
    {
        STRATA_THROW(RuntimeError, "A file address does not fit " + std::to_string(kBufferLength) +
                                       " characters: " + std::to_string(needed) + " needed.");
    }
    // The texts may already live in this buffer, so build the new one aside.
    wchar_t packed[kBufferLength] = {};
    wchar_t* cursor = packed;
    const auto append = [&cursor](const wchar_t* text, size_t length)
    {
        std::copy(text, text + length, cursor);
        cursor[length] = L'\0';
        cursor += length + 1;
    };
    append(name, nameLength);
    append(extension, extensionLength);
    if (folder != nullptr)
        append(folder, folderLength);
    std::copy(std::begin(packed), std::end(packed), std::begin(mBuffer));
    mName = mBuffer;
    mExtension = mBuffer + nameLength + 1;
    mFolder = folder != nullptr ? mExtension + extensionLength + 1 : nullptr;
}

} // namespace Strata
