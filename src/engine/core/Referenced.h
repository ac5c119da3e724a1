#pragma once

namespace Strata
{

// The base of reference-counted engine objects held through boost::intrusive_ptr: jobs, transfers.
// A new object starts with one reference, which its creator adopts. Counts must be safe to change from
// several threads at once.
class IReferenced
{
public:
    virtual void AddRef() = 0;
    // Deletes the object when the count reaches 0.
    virtual void Release() = 0;

protected:
    virtual ~IReferenced() = default;
};

// The hooks boost::intrusive_ptr finds by argument-dependent lookup.
inline void intrusive_ptr_add_ref(IReferenced* object)
{
    object->AddRef();
}
inline void intrusive_ptr_release(IReferenced* object)
{
    object->Release();
}

} // namespace Strata
