#include "app/files/path_text.h"

#include <cwchar>
#include <memory>
#include <new>

#include "app/app_state.h"

namespace {

// `narrow` read in `codePage` against the end of `wide`, or all of it when `whole`.
bool ReadsBackAs(const char* narrow, const wchar_t* wide, UINT codePage, bool whole) {
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, -1, nullptr, 0);
    const std::size_t wideLength = std::wcslen(wide);
    const std::size_t length = size > 0 ? static_cast<std::size_t>(size) - 1 : 0;
    if (size <= 0 || length > wideLength || (whole && length != wideLength)) {
        return false;
    }
    std::unique_ptr<wchar_t[]> back(new (std::nothrow) wchar_t[size]);
    return back &&
           MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, -1, back.get(), size) ==
               size &&
           std::wmemcmp(back.get(), wide + (wideLength - length), length) == 0;
}

}  // namespace

bool NarrowPathExactly(const wchar_t* path, char* out, int outSize, UINT codePage) {
    return WideCharToMultiByte(codePage, 0, path, -1, out, outSize, nullptr, nullptr) > 0 &&
           ReadsBackAs(out, path, codePage, true);
}

bool IsExactTail(const char* narrow, const wchar_t* wide, UINT codePage) {
    return ReadsBackAs(narrow, wide, codePage, false);
}

void ReportRefusedPath() {
    MessageBoxA(g_app.mainWindow,
                "Tintwell cannot open the file.\n"
                "Its path is too long, or holds characters that Windows cannot pass on to "
                "Tintwell here. Rename the file or move it, and try again.",
                "Tintwell", MB_OK | MB_ICONWARNING);
}
