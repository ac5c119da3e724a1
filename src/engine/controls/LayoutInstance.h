#pragma once

#include "controls/ObjectComponents.h"
#include "core/Label.h"
#include "framework/Object.h"
#include "framework/ObjectID.h"

#include <vector>

namespace Strata
{

class Layout;

// One loaded copy of a layout in an object database: the identifiers of the objects the load made,
// moved, shown, enabled, faded and tinted as one. Objects destroyed since are skipped.
class LayoutInstance : public Object,
                       public LocationComponent,
                       public EnableComponent,
                       public VisibleComponent,
                       public ColorComponent
{
public:
    LayoutInstance(Label name, Layout* layout);

    Label GetName() const override { return mName; }
    // "Strata::LayoutInstance".
    Label GetRole() const override;
    using Object::GetRole;

    // Moves every object by the difference to the instance's previous location.
    void SetLocation(const Vector2<float>& location) override;
    // Each setter stores the value, then passes it to every live object with the interface.
    void Enable(bool enable) override;
    void SetVisible(bool visible) override;
    // Objects with a colour change only its alpha.
    void SetAlpha(float alpha) override;
    void SetColor(const ColorF& color) override;

    Layout* GetLayout() const { return mLayout; }
    std::vector<ObjectID>& GetObjectIDs() { return mObjectIDs; }

private:
    Label mName;
    Layout* mLayout;
    std::vector<ObjectID> mObjectIDs;
};

} // namespace Strata
