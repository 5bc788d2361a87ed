// IDirectDrawPalette: 2 to 256 entries of red, green, blue, flags.
#include <cstring>

#include "platform/ddraw/DirectDrawObjects.h"

namespace platform::detail {

PaletteObject::PaletteObject(DWORD caps, int size, const PALETTEENTRY* entries)
    : caps_(caps), size_(size) {
  std::memcpy(entries_.data(), entries, std::size_t(size) * sizeof(PALETTEENTRY));
}

HRESULT PaletteObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IDirectDrawPalette || iid == kIUnknown) {
    AddRef();
    *object = static_cast<IDirectDrawPalette*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG PaletteObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT PaletteObject::GetCaps(DWORD* caps) {
  if (!caps) return DDERR_INVALIDPARAMS;
  *caps = caps_;
  return DD_OK;
}

HRESULT PaletteObject::GetEntries(DWORD, DWORD start, DWORD count, LPPALETTEENTRY entries) {
  if (!entries || start > DWORD(size_) || count > DWORD(size_) - start) return DDERR_INVALIDPARAMS;
  std::memcpy(entries, entries_.data() + start, count * sizeof(PALETTEENTRY));
  return DD_OK;
}

HRESULT PaletteObject::SetEntries(DWORD, DWORD start, DWORD count, LPPALETTEENTRY entries) {
  if (!entries || start > DWORD(size_) || count > DWORD(size_) - start) return DDERR_INVALIDPARAMS;
  std::memcpy(entries_.data() + start, entries, count * sizeof(PALETTEENTRY));
  return DD_OK;
}

}  // namespace platform::detail
