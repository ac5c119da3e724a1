#pragma once

// What the fuzz targets share: files held in memory, served through a file system partition and through
// a file source, and a check that stops the run.

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Strata::Fuzzing
{

inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Files by lower-case name and extension, whatever their folder.
class MemoryFiles
{
public:
    void Clear() { mFiles.clear(); }
    void Set(const std::wstring& nameAndExtension, std::string bytes)
    {
        mFiles[Key(nameAndExtension)] = std::move(bytes);
    }
    const std::string* Find(const FileAddress& address) const
    {
        const auto found = mFiles.find(Key(KeyOf(address)));
        return found != mFiles.end() ? &found->second : nullptr;
    }
    // A copy of the file as a stream of its own (the caller owns it), so that reads past its end are
    // caught; null when missing.
    IStream* Open(const FileAddress& address) const
    {
        const std::string* bytes = Find(address);
        if (bytes == nullptr)
            return nullptr;
        auto stream = std::make_unique<MemoryStream>(KeyOf(address));
        stream->Write(bytes->data(), bytes->size());
        stream->Seek(SeekOrigin_Begin, 0);
        return stream.release();
    }

private:
    static std::wstring KeyOf(const FileAddress& address)
    {
        std::wstring key = address.GetName() != nullptr ? address.GetName() : L"";
        if (address.GetExtension() != nullptr)
            key += address.GetExtension();
        return key;
    }
    static std::wstring Key(std::wstring text)
    {
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(AsciiToLower(c));
        return text;
    }

    std::map<std::wstring, std::string> mFiles;
};

// The "name" of every start element (at most `limit`), read tolerantly: what the document gives up to a
// fault. The targets ask the resource manager for each afterwards.
inline std::set<std::wstring> NamesIn(const uint8_t* data, size_t size, size_t limit = 64)
{
    std::set<std::wstring> names;
    ReadOnlyMemoryStream stream(L"names", data, size);
    try
    {
        auto reader = CreateXMLReader(&stream);
        while (!reader->IsEOF() && names.size() < limit)
        {
            const XMLElement* element = reader->ReadElement();
            if (element != nullptr && element->IsStartElement() && element->HasAttribute(L"name"))
                names.insert(element->GetAttribute(L"name"));
        }
    }
    catch (const std::exception&)
    {
    }
    return names;
}

// A read-only partition over the files; every file lies in the folder "data".
class MemoryPartition final : public IFileSystemPartition
{
public:
    explicit MemoryPartition(const MemoryFiles& files) : mFiles(files) {}
    IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation) override
    {
        return (access & FileAccess_Write) != 0 ? nullptr : mFiles.Open(*address);
    }
    void Lock() override {}
    void Unlock() override {}
    bool FindFile(FileAddress* address) override
    {
        if (mFiles.Find(*address) == nullptr)
            return false;
        if (address->GetFolder() == nullptr)
            *address = FileAddress(address->GetPartition(), L"data", address->GetName(), address->GetExtension());
        return true;
    }
    bool FindFiles(const FileAddress*, std::vector<FileAddress>&) override { return false; }
    void DeleteFile(const FileAddress*) override {}
    bool RenameFile(const FileAddress*, const FileAddress*) override { return false; }

private:
    const MemoryFiles& mFiles;
};

// A file source over the files.
class MemoryFileSource final : public IFileSource
{
public:
    explicit MemoryFileSource(const MemoryFiles& files) : mFiles(files) {}
    IStream* OpenFileStream(const FileAddress& address) const override { return mFiles.Open(address); }

private:
    const MemoryFiles& mFiles;
};

// A writable partition whose files live in a map by name and extension (every folder alike): what a
// writer closes is there for the next reader.
class WritableMemoryPartition final : public IFileSystemPartition
{
public:
    std::map<std::wstring, std::string> files;

    IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) override
    {
        const std::wstring key = KeyOf(address);
        const auto found = files.find(key);
        const bool writing = (access & FileAccess_Write) != 0;
        if (creation == FileCreation_OpenExisting && found == files.end())
            return nullptr;
        const std::string bytes =
            (creation == FileCreation_CreateAlways || found == files.end()) ? std::string() : found->second;
        if (writing)
            files[key] = bytes;
        return new FileStream(*this, key, writing, bytes);
    }
    void Lock() override {}
    void Unlock() override {}
    bool FindFile(FileAddress* address) override { return files.count(KeyOf(address)) != 0; }
    // Every file with the pattern's extension (the name is taken as "*"), in the folder ".".
    bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& found) override
    {
        const std::wstring extension = pattern->GetExtension() != nullptr ? pattern->GetExtension() : L"";
        for (const auto& [key, bytes] : files)
        {
            if (key.size() <= extension.size() ||
                key.compare(key.size() - extension.size(), std::wstring::npos, extension) != 0)
                continue;
            const std::wstring name = key.substr(0, key.size() - extension.size());
            found.emplace_back(pattern->GetPartition(), L".", name.c_str(), extension.c_str());
        }
        return !found.empty();
    }
    void DeleteFile(const FileAddress* address) override { files.erase(KeyOf(address)); }
    bool RenameFile(const FileAddress* from, const FileAddress* to) override
    {
        const auto found = files.find(KeyOf(from));
        if (found == files.end())
            return false;
        std::string bytes = std::move(found->second);
        files.erase(found);
        files[KeyOf(to)] = std::move(bytes);
        return true;
    }

private:
    // A file's bytes as a memory stream; a writing stream stores them back when it is closed.
    class FileStream final : public MemoryStream
    {
    public:
        FileStream(WritableMemoryPartition& owner, const std::wstring& key, bool writing, const std::string& bytes)
            : MemoryStream(key), mOwner(owner), mKey(key), mWriting(writing)
        {
            if (!bytes.empty())
            {
                MemoryStream::Write(bytes.data(), bytes.size());
                Seek(SeekOrigin_Begin, 0);
            }
        }
        ~FileStream() override
        {
            if (!mWriting)
                return;
            std::string bytes(GetLength(), '\0');
            Seek(SeekOrigin_Begin, 0);
            bytes.resize(Read(bytes.data(), bytes.size()));
            mOwner.files[mKey] = bytes;
        }

    private:
        WritableMemoryPartition& mOwner;
        std::wstring mKey;
        bool mWriting;
    };

    static std::wstring KeyOf(const FileAddress* address)
    {
        return std::wstring(address->GetName()) + address->GetExtension();
    }
};

} // namespace Strata::Fuzzing
