#pragma once

#include "core/XMLElement.h"
#include "core/XMLError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class IStream;

// A pull reader over an XML document: test IsEOF, then ReadElement, until IsEOF holds.
class IXMLReader
{
public:
    virtual ~IXMLReader() = default;
    // True when no element is left. A document reader may parse to find out, and then throws XMLError
    // when the document is malformed.
    virtual bool IsEOF() = 0;
    // Advances and returns the new current element, owned by the reader and valid until the next
    // ReadElement; null when there is none left. Throws XMLError when the document is malformed.
    virtual const XMLElement* ReadElement() = 0;
    // The element the last ReadElement returned; null before the first one or past the end.
    virtual const XMLElement* GetCurrentElement() = 0;
    // How far the reader has got, from 0 to 1.
    virtual float GetProgress() = 0;
    virtual int GetCurLine() = 0;
    virtual std::wstring GetFileName() = 0;
};

// How strictly a document reader takes what it reads.
struct sXMLReaderOptions
{
    // A start tag that repeats an attribute fails, instead of keeping the last value.
    bool rejectRepeatedAttributes = false;
};

// Copies the whole stream into memory and returns a reader over it; the stream is not kept.
// Text is UTF-8; white space before the first element is skipped. Throws RuntimeError when `source` is
// null. Parse failures surface later as XMLError from IsEOF and ReadElement; after one the reader is at its
// end (IsEOF true, ReadElement null), so no loop can spin on a damaged document. A document that ends while
// elements are still open, inside a reference, or before any element (unless it is blank) delivers what was
// read and then fails, so a cut document never reads as a whole one.
std::unique_ptr<IXMLReader> CreateXMLReader(IStream* source, const sXMLReaderOptions& options = {});

// A reader over one sub-tree of another reader, made while that reader's current element is the sub-tree's
// start tag. It delivers the start tag (without advancing the other reader), everything inside, and the
// matching end tag; IsEOF holds before the first read, after the end tag, and when the other reader has
// run out (a list that ends inside the sub-tree; a document reader fails there instead).
class XMLElementReader : public IXMLReader
{
public:
    // `reader` is not owned and must outlive this one.
    explicit XMLElementReader(IXMLReader* reader);

    bool IsEOF() override;
    const XMLElement* ReadElement() override;
    const XMLElement* GetCurrentElement() override;
    float GetProgress() override;
    int GetCurLine() override;
    std::wstring GetFileName() override;

private:
    IXMLReader* mReader;
    bool mFirstReadPending = true;
    int32_t mDepth = 0;
};

// A recorded sequence of elements replayed as a reader.
class XMLElementList : public IXMLReader
{
public:
    XMLElementList() = default;

    bool IsEOF() override;
    // Null, without moving, once every element has been read.
    const XMLElement* ReadElement() override;
    const XMLElement* GetCurrentElement() override;
    float GetProgress() override;
    int GetCurLine() override;
    std::wstring GetFileName() override;

    void AddElement(const XMLElement& element) { mElements.push_back(element); }
    const std::vector<XMLElement>& GetElements() const { return mElements; }

private:
    int32_t mIndex = -1;
    std::vector<XMLElement> mElements;
};

// Appends a copy of every element the reader delivers, reading first and testing IsEOF afterwards, until
// IsEOF holds or ReadElement gives nothing. Given an XMLElementReader it records one whole sub-tree.
// A null `list` reads nothing. XMLError from the reader passes through, leaving what was appended so far.
void CopyAllElements(IXMLReader& reader, XMLElementList* list);

} // namespace Strata
