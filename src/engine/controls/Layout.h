#pragma once

#include "core/AttributeContainer.h"
#include "core/Label.h"
#include "framework/ObjectID.h"
#include "framework/ResourceManager.h"

#include <string>
#include <vector>

namespace Strata
{

class LayoutInstance;

// The largest design size a layout may declare; larger values, like 0, negative and non-finite ones,
// fall back to the 800 by 600 default.
inline constexpr float kMaxLayoutDesignSize = 65536.0f;

// A flat set of object descriptions for a design screen, read from a manifest's "layout" element.
// Loading creates the objects in the current mode's database, scaled from the design size to the
// window, and records them in a layout instance. Main thread only, apart from the reading.
class Layout : public AttributeContainer
{
public:
    Layout() = default;

    // Creates the objects under `instance` (null: the default instance), replacing those an earlier
    // load made under it. Descriptions whose type has no factory are skipped. Does nothing without a
    // current object database. What a factory throws passes through; objects made before it stay.
    void Load(Label instance = Label());
    // Destroys the instance's objects and the instance. Nothing without a current object database.
    void Unload(Label instance = Label());
    // True when the instance exists and lists at least one object.
    bool IsLoaded(Label instance = Label()) const;
    // The instance, made and added to the current database when missing; null without a database.
    LayoutInstance* GetInstance(Label instance = Label());
    // The instance's identifier list. Throws a RuntimeError without a current object database.
    std::vector<ObjectID>& GetObjectIDs(Label instance = Label());
    // "Strata::LayoutInstance::<layout>", followed by "::<instance>" for a non-null instance.
    Label GetInstanceName(Label instance = Label()) const;

    Label GetName() const { return mName; }
    void SetName(Label name) { mName = name; }
    const std::vector<std::wstring>& GetTypeNames() const { return mTypeNames; }
    const std::vector<AttributeContainer>& GetObjectAttributes() const { return mObjectAttributes; }
    float GetDesignWidth() const { return mDesignWidth; }
    float GetDesignHeight() const { return mDesignHeight; }
    float GetOffsetX() const { return mOffsetX; }
    float GetOffsetY() const { return mOffsetY; }

    // Reads the design size and offset from the layout's own attributes.
    void ReadLayoutAttributes();
    // Appends one object description.
    void AddObjectDescription(const std::wstring& type, const IAttributeContainer& attributes);

private:
    std::vector<std::wstring> mTypeNames;
    std::vector<AttributeContainer> mObjectAttributes;
    float mDesignWidth = 800.0f;
    float mDesignHeight = 600.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    Label mName;
};

// The resource factory of the manifest tag "layout". Runs on the loader thread and touches no
// main-thread state.
class LayoutResourceFactory : public IResourceFactory
{
public:
    // A ResourceWrapper<Layout>. A damaged element passes the reader's error through.
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

} // namespace Strata
