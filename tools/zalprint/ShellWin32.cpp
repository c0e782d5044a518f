// What --version and the progress line ask of Windows: the DLL this program
// runs with, its version resource, and the console's width.
#include <windows.h>

#include <string>
#include <vector>

#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {

RunningLibrary FindRunningLibrary() {
    RunningLibrary library{ZAL2443_MODULE_NAME, ""};
    // The address of an export is in the DLL that answers the calls.
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ZALGetLibraryType), &module))
        return library;
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return library;
    library.name = BaseNameOf(std::string(path, n));
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return library;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length) || fixed == nullptr ||
        length < sizeof *fixed)
        return library;
    library.fileVersion = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionLS));
    return library;
}

int StderrTerminalColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace zalprint
