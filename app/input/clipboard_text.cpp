#include "app/input/clipboard_text.h"

#include <cstring>

#include "app/unique_handle.h"

namespace {

// The clipboard is open between construction and destruction, if opening it succeeded.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};

BOOL WINAPI FreeGlobal(HGLOBAL memory) {
    return GlobalFree(memory) == nullptr;
}

using UniqueGlobal = UniqueHandle<HGLOBAL, FreeGlobal>;

}  // namespace

bool ReadClipboardText(HWND owner, char* text, std::size_t size) {
    OpenClipboardScope clipboard(owner);
    // Borrowed: the clipboard keeps owning its data.
    HGLOBAL data = clipboard ? GetClipboardData(CF_TEXT) : nullptr;
    const char* source = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (source == nullptr) {
        return false;
    }
    // The block may be larger than its text, or hold no NUL at all.
    std::size_t length = strnlen(source, GlobalSize(data));
    bool fits = length < size;
    if (fits) {
        std::memcpy(text, source, length);
        text[length] = '\0';
    }
    GlobalUnlock(data);
    return fits;
}

bool WriteClipboardText(HWND owner, const char* text) {
    std::size_t size = std::strlen(text) + 1;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = memory ? GlobalLock(memory.get()) : nullptr;
    if (target == nullptr) {
        return false;
    }
    std::memcpy(target, text, size);
    GlobalUnlock(memory.get());
    OpenClipboardScope clipboard(owner);
    if (!clipboard || !EmptyClipboard() || SetClipboardData(CF_TEXT, memory.get()) == nullptr) {
        return false;
    }
    memory.release();  // the clipboard owns it now
    return true;
}
