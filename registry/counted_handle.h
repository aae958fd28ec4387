#pragma once

#include <windows.h>

namespace Marrowset {

// Holder of one handle shared by several owners. Whoever takes the count to zero calls Close and
// then deletes the holder; the destructor itself releases nothing.
class CCountedHandle {
  public:
    CCountedHandle() = default;
    CCountedHandle(const CCountedHandle&) = delete;
    CCountedHandle& operator=(const CCountedHandle&) = delete;

    virtual void Close() = 0;
    virtual ~CCountedHandle();
};

class CCountedRegKey : public CCountedHandle {
  public:
    explicit CCountedRegKey(HKEY key);

    void Close() override;

    HKEY hKey;
    LONG refCount;  // changed only with InterlockedIncrement and InterlockedDecrement
};

}  // namespace Marrowset
