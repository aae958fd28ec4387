#include "app/files/file_drop.h"

#include <memory>
#include <new>

#include "app/files/path_text.h"
#include "app/files/swatch_file_selection.h"

namespace {

// The drop's memory is the receiver's to free, whatever becomes of the files in it.
class DropScope {
  public:
    explicit DropScope(HDROP drop) : drop_(drop) {}
    DropScope(const DropScope&) = delete;
    DropScope& operator=(const DropScope&) = delete;
    ~DropScope() { DragFinish(drop_); }

  private:
    HDROP drop_;
};

}  // namespace

INT_PTR OnDropFiles(HDROP drop) {
    std::unique_ptr<char[]> path;
    {
        DropScope scope(drop);
        UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        if (length == 0) {
            return TRUE;
        }
        // Read whole, however long: the load refuses a path that does not fit its buffer. The
        // name comes as UTF-16, so that a character the code page lacks is refused, not swapped.
        std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[length + 1]);
        const int narrowSize = static_cast<int>(length) * 3 + 1;  // the most UTF-8 can take
        path.reset(new (std::nothrow) char[narrowSize]);
        if (!wide || !path || DragQueryFileW(drop, 0, wide.get(), length + 1) != length) {
            return TRUE;
        }
        if (!NarrowPathExactly(wide.get(), path.get(), narrowSize)) {
            path.reset();
        }
    }
    // The drop is released before the load, which may show a message box.
    if (!path) {
        ReportRefusedPath();
        return TRUE;
    }
    return OpenSwatchFile(path.get());
}
