#include "registry/counted_handle.h"

namespace Marrowset {

CCountedHandle::~CCountedHandle() {}

CCountedRegKey::CCountedRegKey(HKEY key) : hKey(key), refCount(1) {}

void CCountedRegKey::Close() {
    RegCloseKey(hKey);
}

}  // namespace Marrowset
