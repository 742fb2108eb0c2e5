#pragma once
// Reference counting shared by every Direct3D 9 resource of both realizations.
//
// A resource has two counts: the public one (AddRef/Release, starts at 1) and the device's
// bindings (texture stages, streams, indices). While the public count is above 0 the resource
// holds one reference to its device, as D3D9 resources do; the device's bindings hold none, so
// a device and the resources bound to it never keep each other alive. The object is destroyed
// when both counts are 0. A resource whose public count is 0 but that is still bound is
// "released": the device refuses to bind it again.
#include <d3d9.h>

// The device's side: the set of live resources, so that a stale pointer is recognised without
// being followed.
class D3D9_Resource_Link;
class D3D9_Resource_Registry {
public:
    virtual void Remember(const void* iface, D3D9_Resource_Link* link) = 0;
    virtual void Forget(const void* iface) = 0;
    virtual D3D9_Resource_Link* Find(const void* iface) const = 0;

protected:
    ~D3D9_Resource_Registry() = default;
};

class D3D9_Resource_Link {
public:
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
    virtual bool Released() const = 0;
    virtual D3DRESOURCETYPE Kind() const = 0;

protected:
    ~D3D9_Resource_Link() = default;
};

template <class Interface>
class D3D9_Resource : public Interface, public D3D9_Resource_Link {
public:
    D3D9_Resource(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, D3DRESOURCETYPE type)
        : device(device), registry(registry), type(type)
    {
        device->AddRef();
        registry->Remember(static_cast<Interface*>(this), this);
    }
    D3D9_Resource(const D3D9_Resource&) = delete;
    D3D9_Resource& operator=(const D3D9_Resource&) = delete;
    virtual ~D3D9_Resource() { registry->Forget(static_cast<Interface*>(this)); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!Implements(riid))
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        if (refs++ == 0)
            device->AddRef();
        return refs;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (refs == 0)
            return 0;
        const ULONG left = --refs;
        if (left == 0) {
            IDirect3DDevice9* owner = device;
            if (binds == 0)
                delete this;
            owner->Release();
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** out) override
    {
        if (!out)
            return D3DERR_INVALIDCALL;
        *out = device;
        device->AddRef();
        return D3D_OK;
    }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD value) override
    {
        DWORD old = priority;
        priority = value;
        return old;
    }
    DWORD STDMETHODCALLTYPE GetPriority() override { return priority; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return type; }

    void Bind() override { ++binds; }
    void Unbind() override
    {
        if (binds > 0 && --binds == 0 && refs == 0)
            delete this;
    }
    bool Released() const override { return refs == 0; }
    D3DRESOURCETYPE Kind() const override { return type; }

protected:
    virtual bool Implements(REFIID riid) const = 0;

    IDirect3DDevice9* device;

private:
    D3D9_Resource_Registry* registry;
    D3DRESOURCETYPE type;
    ULONG refs = 1;
    ULONG binds = 0;
    DWORD priority = 0;
};

// IID_IUnknown, for QueryInterface.
inline bool d3d9_is_iunknown(REFIID riid)
{
    static const IID unknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    return riid == unknown;
}
