// Owners for the GDI and USER handles the program holds: one owner per handle, copying refused,
// reset() releases and clears, so a release that runs twice releases nothing the second time.
#ifndef TINTWELL_UNIQUE_HANDLE_H
#define TINTWELL_UNIQUE_HANDLE_H

#include <windows.h>

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class UniqueHandle {
  public:
    constexpr UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr && handle_ != handle) {
            Release(handle_);
        }
        handle_ = handle;
    }

    Handle release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

  private:
    Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteBrushObject(HBRUSH brush) {
    return DeleteObject(brush);
}

inline BOOL WINAPI DeleteFontObject(HFONT font) {
    return DeleteObject(font);
}

inline BOOL WINAPI DeleteBitmapObject(HBITMAP bitmap) {
    return DeleteObject(bitmap);
}

using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteBrushObject>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;
using UniqueFont = UniqueHandle<HFONT, DeleteFontObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteBitmapObject>;
using UniqueHook = UniqueHandle<HHOOK, UnhookWindowsHookEx>;

#endif
