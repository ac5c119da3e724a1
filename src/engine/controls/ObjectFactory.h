#pragma once

#include "core/Label.h"

#include <map>
#include <memory>
#include <string>

namespace Strata
{

class IAttributeContainer;
class Object;

// Makes one type of layout object from its attributes.
class IObjectFactory
{
public:
    virtual ~IObjectFactory() = default;
    // A new object (owned by the caller, in no database yet) with its type-specific attributes read.
    // The common attributes are the layout loader's business.
    virtual Object* CreateObject(Label name, const IAttributeContainer& attributes) = 0;
};

// The registry of layout object types, keyed by type name (exact, case-sensitive). Main thread only.
class ObjectFactory
{
public:
    ObjectFactory() = default;
    // Clears the global registry pointer when this is it.
    ~ObjectFactory();
    ObjectFactory(const ObjectFactory&) = delete;
    ObjectFactory& operator=(const ObjectFactory&) = delete;

    // Takes ownership; a second factory under the same name replaces (and deletes) the first. A null
    // name deletes the factory and registers nothing; a null factory removes the name.
    void AddObjectFactory(const wchar_t* type, IObjectFactory* factory);
    // The object the type's factory makes; null when no factory is registered under the name.
    // What the factory throws passes through.
    Object* CreateObject(const std::wstring& type, Label name, const IAttributeContainer& attributes);
    bool HasObjectFactory(const std::wstring& type) const;

private:
    std::map<std::wstring, std::shared_ptr<IObjectFactory>> mFactories;
};

// The registry, made on first use and deleted with the engine's singletons.
ObjectFactory* GetObjectFactory();

// The engine's set-up calls this once: registers the "layout" resource factory with the resource
// manager (creating the manager if need be) and the object factory of every engine layout type.
void CreateLayoutFactories();

} // namespace Strata
