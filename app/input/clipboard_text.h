// Plain text in and out of the clipboard.
#ifndef TINTWELL_CLIPBOARD_TEXT_H
#define TINTWELL_CLIPBOARD_TEXT_H

#include <windows.h>

#include <cstddef>

// Copies the clipboard's text with its NUL into `text`; false when there is none or it does not
// fit in `size` bytes.
bool ReadClipboardText(HWND owner, char* text, std::size_t size);
// Puts `text` on the clipboard, replacing what was there.
bool WriteClipboardText(HWND owner, const char* text);

#endif
