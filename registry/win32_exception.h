#pragma once

#include <windows.h>

namespace Marrowset {

// A failed Win32 call: which operation failed and the code it failed with. Thrown by value.
class CWin32Exception {
  public:
    CWin32Exception(const char* location, DWORD errorCode);

    // The system's text for the error code. The text lives in one buffer shared by every
    // exception object and is overwritten by the next call, on this object or any other.
    virtual const char* GetErrorText() const;

    const char* GetLocation() const { return location; }
    DWORD GetErrorCode() const { return errorCode; }

  protected:
    const char* location;  // static text, never owned; may be null
    DWORD errorCode;
};

}  // namespace Marrowset
