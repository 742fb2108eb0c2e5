#pragma once
// The bytes of a vertex or index buffer, kept in memory by both realizations, with D3D9's lock
// rules: Lock(offset, 0) locks from offset to the end, a range past the end is refused, locks
// nest, and every Unlock advances Generation() so that a copy elsewhere (a GL buffer) knows it
// is stale.
#include <d3d9.h>

#include <vector>

class D3D9_Buffer_Data {
public:
    // Larger buffers are refused with D3DERR_OUTOFVIDEOMEMORY rather than attempted.
    static constexpr UINT max_length = 256u << 20;

    // Allocates length zero bytes; false when the memory cannot be had.
    bool Allocate(UINT length);

    HRESULT Lock(UINT offset, UINT size, void** data);
    HRESULT Unlock();

    const BYTE* Bytes() const { return bytes.data(); }
    UINT Length() const { return UINT(bytes.size()); }
    bool Locked() const { return locks > 0; }
    unsigned Generation() const { return generation; }

private:
    std::vector<BYTE> bytes;
    UINT locks = 0;
    unsigned generation = 1;
};
