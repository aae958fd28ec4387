#include "app/file_drop.h"

#include <memory>
#include <new>

#include "app/swatch_file_selection.h"

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
        UINT length = DragQueryFileA(drop, 0, nullptr, 0);
        if (length == 0) {
            return TRUE;
        }
        // Read whole, however long: the load refuses a path that does not fit its buffer.
        path.reset(new (std::nothrow) char[length + 1]);
        if (!path || DragQueryFileA(drop, 0, path.get(), length + 1) != length) {
            return TRUE;
        }
    }
    // The drop is released before the load, which may show a message box.
    return OpenSwatchFile(path.get());
}
