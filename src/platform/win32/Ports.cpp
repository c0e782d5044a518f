// Files and devices through the Win32 file and comm API.
#include "platform/Platform.h"
#include "platform/win32/Win32.h"

namespace zal::platform {

Handle CreateFile(const char *path, const OpenOptions &o) {
    DWORD access = (o.read ? GENERIC_READ : 0) | (o.write ? GENERIC_WRITE : 0);
    DWORD share = o.shareRead ? FILE_SHARE_READ : 0;
    DWORD disposition = o.disposition == Disposition::OpenAlways ? OPEN_ALWAYS : OPEN_EXISTING;
    DWORD flags = o.disposition == Disposition::OpenAlways ? FILE_ATTRIBUTE_NORMAL : 0;
    if (o.writeThrough) flags |= FILE_FLAG_WRITE_THROUGH;
    HANDLE h = ::CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
    return reinterpret_cast<Handle>(h);
}

bool SeekToEnd(Handle h) {
    return ::SetFilePointer(reinterpret_cast<HANDLE>(h), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER ||
           ::GetLastError() == NO_ERROR;
}

bool WriteFile(Handle h, const void *data, uint32_t count, uint32_t *written) {
    DWORD n = 0;
    BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(h), data, count, &n, nullptr);
    if (written) *written = n;
    return ok != FALSE;
}

bool ReadFile(Handle h, void *data, uint32_t count, uint32_t *read) {
    DWORD n = 0;
    BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(h), data, count, &n, nullptr);
    if (read) *read = n;
    return ok != FALSE;
}

bool FlushFileBuffers(Handle h) { return ::FlushFileBuffers(reinterpret_cast<HANDLE>(h)) != FALSE; }
bool CloseHandle(Handle h) { return ::CloseHandle(reinterpret_cast<HANDLE>(h)) != FALSE; }

// A write on a handle opened for synchronous writes cannot be bounded from
// the writing thread; serial lines have their comm time-outs instead.
bool SetWriteTimeout(Handle, uint32_t) {
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

bool GetCommProperties(Handle h, CommProperties &properties) {
    COMMPROP p = {};
    if (!::GetCommProperties(reinterpret_cast<HANDLE>(h), &p)) return false;
    properties.maxTxQueue = p.dwMaxTxQueue;
    properties.maxRxQueue = p.dwMaxRxQueue;
    return true;
}

bool SetupComm(Handle h, uint32_t inQueue, uint32_t outQueue) {
    return ::SetupComm(reinterpret_cast<HANDLE>(h), inQueue, outQueue) != FALSE;
}

namespace {

DCB g_dcb;  // the last DCB read, so that fields this library does not touch survive

void ToState(const DCB &d, CommState &s) {
    s.baudRate = d.BaudRate;
    s.byteSize = d.ByteSize;
    s.parity = d.Parity;
    s.stopBits = d.StopBits;
    s.outxCtsFlow = d.fOutxCtsFlow;
    s.outxDsrFlow = d.fOutxDsrFlow;
    s.dtrControl = static_cast<uint8_t>(d.fDtrControl);
    s.rtsControl = static_cast<uint8_t>(d.fRtsControl);
    s.outX = d.fOutX;
    s.inX = d.fInX;
    s.eofChar = d.EofChar;
}

void FromState(const CommState &s, DCB &d) {
    d.BaudRate = s.baudRate;
    d.ByteSize = s.byteSize;
    d.Parity = s.parity;
    d.StopBits = s.stopBits;
    d.fOutxCtsFlow = s.outxCtsFlow;
    d.fOutxDsrFlow = s.outxDsrFlow;
    d.fDtrControl = s.dtrControl;
    d.fRtsControl = s.rtsControl;
    d.fOutX = s.outX;
    d.fInX = s.inX;
    d.EofChar = s.eofChar;
}

}  // namespace

bool GetCommState(Handle h, CommState &state) {
    DCB d = {};
    d.DCBlength = sizeof d;
    if (!::GetCommState(reinterpret_cast<HANDLE>(h), &d)) return false;
    g_dcb = d;
    ToState(d, state);
    return true;
}

bool BuildCommDCB(const char *mode, CommState &state) {
    DCB d = g_dcb;
    d.DCBlength = sizeof d;
    FromState(state, d);
    if (!::BuildCommDCBA(mode, &d)) return false;
    g_dcb = d;
    ToState(d, state);
    return true;
}

bool SetCommState(Handle h, const CommState &state) {
    DCB d = g_dcb;
    d.DCBlength = sizeof d;
    FromState(state, d);
    return ::SetCommState(reinterpret_cast<HANDLE>(h), &d) != FALSE;
}

bool GetCommTimeouts(Handle h, CommTimeouts &t) {
    COMMTIMEOUTS c = {};
    if (!::GetCommTimeouts(reinterpret_cast<HANDLE>(h), &c)) return false;
    t.readIntervalTimeout = c.ReadIntervalTimeout;
    t.readTotalTimeoutMultiplier = c.ReadTotalTimeoutMultiplier;
    t.readTotalTimeoutConstant = c.ReadTotalTimeoutConstant;
    t.writeTotalTimeoutMultiplier = c.WriteTotalTimeoutMultiplier;
    t.writeTotalTimeoutConstant = c.WriteTotalTimeoutConstant;
    return true;
}

bool SetCommTimeouts(Handle h, const CommTimeouts &t) {
    COMMTIMEOUTS c = {t.readIntervalTimeout, t.readTotalTimeoutMultiplier, t.readTotalTimeoutConstant,
                      t.writeTotalTimeoutMultiplier, t.writeTotalTimeoutConstant};
    return ::SetCommTimeouts(reinterpret_cast<HANDLE>(h), &c) != FALSE;
}

}  // namespace zal::platform
