#pragma once

#include "core/Angle.h"
#include "core/Color.h"
#include "core/Label.h"
#include "core/RuntimeError.h"
#include "core/Vector2.h"
#include "framework/ResourceManager.h"
#include "graphics/DrawState.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class IAttributeContainer;
class IXMLReader;
class ObjectDatabase;

// A failure to parse a scene layout. what() is the message alone until the layout's name is known,
// then `in SceneLayout "<name>": <message>`.
class SceneLayoutException : public RuntimeError
{
public:
    SceneLayoutException(const std::string& message, const char* file, int line, const char* function);

    const char* what() const noexcept override { return mWhat.c_str(); }
    const std::string& GetMessage() const { return mMessage; }
    const std::string& GetName() const { return mName; }
    void setName(const std::string& name);

private:
    std::string mMessage;
    std::string mName;
    std::string mWhat;
};

// Layouts nest no deeper than this; deeper content is refused rather than recursed into.
inline constexpr int kMaxSceneLayoutDepth = 256;

// A tree of node descriptions read from a "scenelayout" resource, instantiated into fresh node trees
// as often as wanted. Parsed on the loader thread; instantiated on the main thread.
class SceneLayout
{
public:
    // One element of the layout: its node type's factory and attributes, the attributes common to
    // every node, and its children in drawing order.
    struct LayoutDescriptor
    {
        LayoutDescriptor();
        ~LayoutDescriptor();
        LayoutDescriptor(const LayoutDescriptor&) = delete;
        LayoutDescriptor& operator=(const LayoutDescriptor&) = delete;

        // Held so a factory replaced in the registry stays usable for the layouts read with it.
        std::shared_ptr<const SceneNodeFactory> factory;
        std::unique_ptr<SceneNodeDescriptor> nodeDescriptor;
        std::vector<std::unique_ptr<LayoutDescriptor>> children;
        SceneNode::NodeAttachParams attachParams;
        Label name;
        Label nodeName;
        Vector2<float> location{0.0f, 0.0f};
        Vector2<float> scale{1.0f, 1.0f};
        Angle orientation;
        bool visible = true;
        ColorF color{1.0f, 1.0f, 1.0f, 1.0f};
        bool hitTest = false;
        uint32_t mouseButtons = 1;
        HAlignment rotateHAlign = HAlignment_Left;
        VAlignment rotateVAlign = VAlignment_Top;
        HAlignment scaleHAlign = HAlignment_Left;
        VAlignment scaleVAlign = VAlignment_Top;
    };

    SceneLayout();
    virtual ~SceneLayout();
    SceneLayout(const SceneLayout&) = delete;
    SceneLayout& operator=(const SceneLayout&) = delete;

    // Null until parsed.
    const LayoutDescriptor* GetRootDescriptor() const { return mRoot.get(); }

    // Reads the layout from a reader over its manifest element (the "scenelayout" start tag first).
    // Throws a SceneLayoutException (message only, no name) for a layout with no root, more than one
    // root, an unknown tag, a "sceneref" to a layout that is not loaded, or nesting deeper than
    // kMaxSceneLayoutDepth; the reader's XMLError passes through. On any failure the layout is left
    // as it was.
    void Parse(IXMLReader& element);

    // A new node tree, attached under `parent` when it is not null, in no database: the caller adds
    // it to one (SceneNode::AddToDatabase, then release()), or lets the handle delete it (which
    // detaches it from `parent` again). Null for a layout that was never parsed. Main thread only.
    SceneTreePtr InstantiateLayout(SceneNode* parent) const;
    // The same, then the tree (children first) added to `db`. With a null `db` nothing is made and
    // null is returned, so no tree is left without an owner.
    SceneNode* InstantiateLayout(ObjectDatabase* db, SceneNode* parent) const;

    // A descriptor for an element, its factory's attributes read first, then the common ones.
    static std::unique_ptr<LayoutDescriptor> CreateRootDescriptor(std::shared_ptr<const SceneNodeFactory> factory,
                                                                  const IAttributeContainer& element);
    // Builds one node and, recursively, its subtree (steps in the source).
    static SceneTreePtr CreateSceneNode(SceneNode* parent, const LayoutDescriptor& descriptor);

private:
    std::unique_ptr<LayoutDescriptor> mRoot;
};

// The factory of the manifest tag "scenelayout": a ResourceWrapper<SceneLayout>. What parsing throws
// passes through, a SceneLayoutException named after the resource; nothing is kept on failure.
class SceneLayoutResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

// The mouse-button mask of a "buttons" value: "all", "none", or a comma list of "left", "right" and
// "middle" added to left. White space is ignored.
uint32_t ParseMouseButtons(const std::wstring& text);

} // namespace Strata
