/*
 * ZalUsbEx - the USB printing support library: its exports and records.
 *
 * The device output loads the library by name ("ZalUsbEx": ZalUsbEx.dll,
 * libZalUsbEx.so), looks the functions up by the names below and calls
 * them through the pointer types.  An open returns a handle of the
 * platform's own kind (a Win32 HANDLE, a file descriptor on Linux) that
 * the caller writes, flushes and closes with the ordinary file calls; the
 * library may be released right after the open.
 */
#ifndef ZALUSBEX_H
#define ZALUSBEX_H

#include <stdint.h>

#include "zal2443/zal2443.h" /* _LoggingConfigA */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define ZALUSB_API __cdecl
#else
#define ZALUSB_API
#endif

/* Filled by a failed open; the caller zero-fills it before the first one. */
typedef struct UsbError {
    uint32_t Code;       /* 0: no message; else a Win32 error number */
    char Message[1024];  /* zero-terminated */
} UsbError;

/* Zero or -1 when the open failed. */
typedef intptr_t UsbHandle;

#define ZALUSB_LIBRARY_NAME "ZalUsbEx"
#define ZALUSB_LIBRARY_TYPE 2

typedef int32_t(ZALUSB_API *ZalUsbGetLibraryTypeFn)(void);
typedef void(ZALUSB_API *ZalUsbSetDebugAFn)(_LoggingConfigA config);
/* Model and serial number, as in the port name "USB <model> - <serial>". */
typedef UsbHandle(ZALUSB_API *ZalUsbOpenDeviceAFn)(const char *model, const char *serial, UsbError *error);
/* USB vendor and product id, each a u16 widened to 32 bits. */
typedef UsbHandle(ZALUSB_API *ZalUsbOpenDeviceIDAFn)(uint32_t vendorId, uint32_t productId, UsbError *error);

#define ZALUSB_GETLIBRARYTYPE "ZALGetLibraryType"
#define ZALUSB_SETUSBDEBUGA "SetUSBDebugA"
#define ZALUSB_OPENUSBDEVICEA "OpenUSBDeviceA"
#define ZALUSB_OPENUSBDEVICEIDA "OpenUSBDeviceIDA"

#ifdef __cplusplus
}
static_assert(sizeof(UsbError) == 1028, "UsbError is 1028 bytes");
#endif

#endif /* ZALUSBEX_H */
