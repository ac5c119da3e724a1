#include "scene/SceneLayout.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"

#include <cmath>

namespace Strata
{

namespace
{

// A number that is not finite would poison every position derived from it: it reads as the default.
float FiniteAttribute(const IAttributeContainer& element, const wchar_t* name, float defaultValue)
{
    const float value = element.GetAttribute(name, defaultValue);
    return std::isfinite(value) ? value : defaultValue;
}

Label LabelAttribute(const IAttributeContainer& element, const wchar_t* name)
{
    return element.HasAttribute(name) ? Label::FromString(element.GetAttribute(name)) : Label();
}

std::shared_ptr<const SceneNodeFactory> FindFactory(const std::wstring& tag)
{
    std::shared_ptr<const SceneNodeFactory> factory = SceneLayoutManager::Instance().GetSceneNodeFactory(tag);
    if (!factory)
    {
        STRATA_THROW(SceneLayoutException,
                     "unrecognized node type: \"" + TruncateStringWideToASCII(tag.c_str()) + "\"");
    }
    return factory;
}

// Reads the children of the element whose start tag `reader` delivers first, recursively.
void ParseLayoutChildren(IXMLReader& reader, SceneLayout::LayoutDescriptor& parent, int depth)
{
    reader.ReadElement();
    while (!reader.IsEOF())
    {
        const XMLElement* item = reader.ReadElement();
        if (item == nullptr)
            break;
        if (!item->IsStartElement())
            continue;
        if (depth >= kMaxSceneLayoutDepth)
        {
            STRATA_THROW(SceneLayoutException,
                         "scene nodes nest deeper than " + std::to_string(kMaxSceneLayoutDepth) + " levels");
        }
        std::unique_ptr<SceneLayout::LayoutDescriptor> child =
            SceneLayout::CreateRootDescriptor(FindFactory(item->GetName()), *item);
        XMLElementReader content(&reader);
        ParseLayoutChildren(content, *child, depth + 1);
        parent.children.push_back(std::move(child));
    }
}

} // namespace

SceneLayoutException::SceneLayoutException(const std::string& message, const char* file, int line, const char* function)
    : RuntimeError(message, file, line, function), mMessage(message), mWhat(message)
{
}

void SceneLayoutException::setName(const std::string& name)
{
    mName = name;
    mWhat = mName.empty() ? mMessage : "in SceneLayout \"" + mName + "\": " + mMessage;
}

uint32_t ParseMouseButtons(const std::wstring& text)
{
    std::wstring compact;
    for (const wchar_t c : text)
        if (c != L' ' && c != L'\t' && c != L'\r' && c != L'\n')
            compact.push_back(c);
    if (compact == L"all")
        return 0xFFFFFFFFu;
    if (compact == L"none")
        return 0;
    uint32_t mask = 1;
    size_t start = 0;
    while (start <= compact.size())
    {
        const size_t comma = compact.find(L',', start);
        const std::wstring word =
            compact.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        if (word == L"left")
            mask |= 1u;
        else if (word == L"right")
            mask |= 2u;
        else if (word == L"middle")
            mask |= 4u;
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    return mask;
}

SceneLayout::LayoutDescriptor::LayoutDescriptor() = default;
SceneLayout::LayoutDescriptor::~LayoutDescriptor() = default;

SceneLayout::SceneLayout() = default;
SceneLayout::~SceneLayout() = default;

std::unique_ptr<SceneLayout::LayoutDescriptor>
SceneLayout::CreateRootDescriptor(std::shared_ptr<const SceneNodeFactory> factory, const IAttributeContainer& element)
{
    auto descriptor = std::make_unique<LayoutDescriptor>();
    descriptor->nodeDescriptor = factory->CreateDescriptor(element);
    descriptor->factory = std::move(factory);

    SceneNode::NodeAttachParams& attach = descriptor->attachParams;
    if (element.GetAttribute(L"centerOnParent", false))
    {
        attach.parentHAlign = HAlignment_Center;
        attach.parentVAlign = VAlignment_Middle;
        attach.selfHAlign = HAlignment_Center;
        attach.selfVAlign = VAlignment_Middle;
    }
    else
    {
        if (element.GetAttribute(L"centerHOnParent", false))
        {
            attach.parentHAlign = HAlignment_Center;
            attach.selfHAlign = HAlignment_Center;
        }
        else
        {
            attach.parentHAlign = StringToHAlignment(element.GetAttribute(L"parentHAlign"), HAlignment_Left);
            attach.selfHAlign = StringToHAlignment(element.GetAttribute(L"selfHAlign"), HAlignment_Left);
        }
        if (element.GetAttribute(L"centerVOnParent", false))
        {
            attach.parentVAlign = VAlignment_Middle;
            attach.selfVAlign = VAlignment_Middle;
        }
        else
        {
            attach.parentVAlign = StringToVAlignment(element.GetAttribute(L"parentVAlign"), VAlignment_Top);
            attach.selfVAlign = StringToVAlignment(element.GetAttribute(L"selfVAlign"), VAlignment_Top);
        }
    }

    descriptor->nodeName = LabelAttribute(element, L"nodeName");
    descriptor->name = LabelAttribute(element, L"name");
    descriptor->location = Vector2<float>(FiniteAttribute(element, L"x", 0.0f), FiniteAttribute(element, L"y", 0.0f));
    descriptor->scale =
        Vector2<float>(FiniteAttribute(element, L"scaleX", 1.0f), FiniteAttribute(element, L"scaleY", 1.0f));
    descriptor->orientation = Angle::FromDegrees(FiniteAttribute(element, L"orientation", 0.0f));
    descriptor->visible = element.GetAttribute(L"visible", true);
    if (element.HasAttribute(L"color"))
        descriptor->color = ColorF::FromString(element.GetAttribute(L"color"));
    else
        descriptor->color.a = FiniteAttribute(element, L"alpha", 1.0f);
    descriptor->hitTest = element.GetAttribute(L"hitTest", false);
    descriptor->mouseButtons =
        element.HasAttribute(L"buttons") ? ParseMouseButtons(element.GetAttribute(L"buttons")) : 1u;
    descriptor->rotateHAlign = StringToHAlignment(element.GetAttribute(L"rotateHAlign"), HAlignment_Left);
    descriptor->rotateVAlign = StringToVAlignment(element.GetAttribute(L"rotateVAlign"), VAlignment_Top);
    descriptor->scaleHAlign = StringToHAlignment(element.GetAttribute(L"scaleHAlign"), HAlignment_Left);
    descriptor->scaleVAlign = StringToVAlignment(element.GetAttribute(L"scaleVAlign"), VAlignment_Top);
    return descriptor;
}

void SceneLayout::Parse(IXMLReader& element)
{
    std::unique_ptr<LayoutDescriptor> root;
    // The "scenelayout" element itself.
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (!item->IsStartElement())
            continue;
        if (root)
            STRATA_THROW(SceneLayoutException, "scene has more than one root node");
        root = CreateRootDescriptor(FindFactory(item->GetName()), *item);
        XMLElementReader content(&element);
        ParseLayoutChildren(content, *root, 1);
    }
    if (!root)
        STRATA_THROW(SceneLayoutException, "scene has no root node");
    mRoot = std::move(root);
}

SceneTreePtr SceneLayout::CreateSceneNode(SceneNode* parent, const LayoutDescriptor& descriptor)
{
    // 1. The node type's own node; a factory that makes none still leaves a plain node, so the
    // tree keeps the shape its node paths expect.
    SceneTreePtr node = descriptor.factory->CreateNode(descriptor.nodeDescriptor.get());
    if (!node)
        node.reset(new SceneNode(Label()));
    // 2. to 5. The common attributes.
    node->SetName(descriptor.name);
    node->SetNodeName(descriptor.nodeName);
    node->LocalSetLocation(descriptor.location);
    node->LocalSetScale(descriptor.scale);
    node->LocalSetOrientation(descriptor.orientation);
    node->LocalSetVisible(descriptor.visible);
    node->LocalSetColor(descriptor.color);
    node->hitTest = node->hitTest || descriptor.hitTest;
    node->mouseButtons |= descriptor.mouseButtons;
    node->SetRotateAlignment(descriptor.rotateHAlign, descriptor.rotateVAlign);
    node->SetScaleAlignment(descriptor.scaleHAlign, descriptor.scaleVAlign);
    // 6. Attached before its own children exist.
    if (parent != nullptr)
        parent->AttachChild(node.get(), descriptor.attachParams);
    // 7. The children, each owned by this tree once attached.
    for (const std::unique_ptr<LayoutDescriptor>& child : descriptor.children)
        CreateSceneNode(node.get(), *child).release();
    return node;
}

SceneTreePtr SceneLayout::InstantiateLayout(SceneNode* parent) const
{
    if (!mRoot)
        return nullptr;
    return CreateSceneNode(parent, *mRoot);
}

SceneNode* SceneLayout::InstantiateLayout(ObjectDatabase* db, SceneNode* parent) const
{
    if (db == nullptr)
        return nullptr;
    SceneTreePtr tree = InstantiateLayout(parent);
    if (tree)
        tree->AddToDatabase(db);
    return tree.release();
}

IResourceDescriptor* SceneLayoutResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                                const IAttributeContainer& attributes,
                                                                IXMLReader& element) const
{
    auto layout = std::make_unique<ResourceWrapper<SceneLayout>>(manifest, name, attributes);
    try
    {
        layout->Parse(element);
    }
    catch (SceneLayoutException& error)
    {
        error.setName(name.c_str());
        throw;
    }
    return layout.release();
}

} // namespace Strata
