/*
 * compress: the MaxiCode compression library interface.
 *
 * The carrier supplies compress.dll; ZAL2443 loads it by name from the
 * compression folder (job key "CompressDir", else the host's folder) and
 * resolves the functions below by name.  This header is what the library
 * and the stand-in of plugins/compress share: field ids, return codes,
 * the workspace size and the function pointer types.
 *
 * Calling convention: the platform's default C convention, unmangled
 * names (extern "C"), cdecl on the 32-bit Windows target: the caller
 * removes the arguments.  A carrier library built with another convention
 * does not fit this interface.
 *
 * Every function answers a 32-bit code: 0 is success.  The workspace is a
 * block of compress_WORKSPACE_SIZE bytes owned by the caller and zeroed
 * before compress_Initialize.
 */
#ifndef ZAL2443_COMPRESS_H
#define ZAL2443_COMPRESS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define COMPRESS_CALL __cdecl
#if defined(COMPRESS_BUILDING)
#define COMPRESS_API __declspec(dllexport)
#else
#define COMPRESS_API
#endif
#else
#define COMPRESS_CALL
#define COMPRESS_API __attribute__((visibility("default")))
#endif

#define compress_WORKSPACE_SIZE 4952
#define compress_LIBRARY_FILE "compress.dll"

/* Field ids of compress_AddValue, sent in ascending order. */
enum compress_FieldId {
    compress_ANSI_INTERFACE_START = 0,
    compress_ANSI_RESERVED = 1, /* never sent */
    compress_ANSI_SET_MODE = 2, /* one byte: 2 or 3 */
    compress_ANSI_MESSAGE_START = 3,
    compress_ANSI_FORMAT_1_START = 4,
    compress_ANSI_SHIP_TO_POSTAL_CODE = 5,
    compress_ANSI_SHIP_TO_COUNTRY_CODE = 6,
    compress_ANSI_CLASS_OF_SERVICE = 7,
    compress_ANSI_TRACKING_NUMBER = 8,
    compress_ANSI_ORIGIN_CARRIER = 9,
    compress_ANSI_SHIPPER_ID = 10,
    compress_ANSI_JULIAN_DATE_OF_PU = 11,
    compress_ANSI_SHIPMENT_ID = 12,
    compress_ANSI_SHIPMENT_N_X = 13,
    compress_ANSI_WEIGHT = 14,
    compress_ANSI_ADDRESS_VALIDATION = 15,
    compress_ANSI_SHIP_TO_ADDRESS_1 = 16,
    compress_ANSI_SHIP_TO_CITY = 17,
    compress_ANSI_SHIP_TO_STATE = 18,
    compress_ANSI_FORMAT_1_END = 19,
    compress_ANSI_FORMAT_5_START = 20,
    compress_ANSI_SHIP_TO_ADDRESS_2 = 21,
    compress_ANSI_SHIP_TO_ADDRESS_3 = 22,
    compress_ANSI_SHIP_TO_ADDRESS_4 = 23,
    compress_ANSI_SHIP_TO_ADDRESS_5 = 24,
    compress_ANSI_FORMAT_5_END = 25,
    compress_ANSI_MESSAGE_END = 26,
    compress_ANSI_INTERFACE_END = 27
};

/* The return codes the library's callers act on or the stand-in gives;
 * the full list with its texts is in the driver (CompressErrorText). */
enum compress_Result {
    compress_SUCCESS = 0,
    compress_FAILED_INVALID_WORKSPACE = 1,
    compress_VARIABLE_OUT_OF_ORDER = 2,
    compress_FAILED_INVALID_DIRECTORY = 3,
    compress_FAILED_INVALID_MODE = 4,
    compress_FAILED_INVALID_ADDRESS_VALIDATION = 14,
    compress_NOT_READY_TO_BUILD = 22,
    compress_DATA_AREA_TOO_SMALL = 24,
    compress_WORKSPACE_TOO_SMALL = 26,
    compress_INVALID_MESSAGE_HEADER = 30,
    compress_DETECTED_FEILD_TOO_LONG = 40,
    compress_ANSI_STRING_TOO_SHORT = 42,
    compress_INVALID_MESSAGE_ENDING = 46,
    compress_FAILED_TEST_ENCODE_FILE_OPEN = 52,
    compress_FAILED_LOG_FILE_OPEN = 55
};

/* directory: the compression folder, ending in a backslash. */
COMPRESS_API int32_t COMPRESS_CALL compress_Initialize(const char *directory, uint16_t directoryLength, void *workspace,
                                                       uint32_t workspaceSize);
COMPRESS_API int32_t COMPRESS_CALL compress_TestEnable(void *workspace);
COMPRESS_API int32_t COMPRESS_CALL compress_SetMode(int32_t mode, void *workspace);
COMPRESS_API int32_t COMPRESS_CALL compress_AddValue(int32_t fieldId, uint16_t valueLength, const char *value,
                                                     void *workspace);
/* length: in, the output's capacity; out, the length written. */
COMPRESS_API int32_t COMPRESS_CALL compress_BuildAll(char *output, uint16_t *length, int32_t one, void *workspace);
COMPRESS_API int32_t COMPRESS_CALL compress_ANSI_StringBuildAll(const char *message, uint16_t messageLength,
                                                                char *output, uint16_t *length,
                                                                int32_t addressValidation, void *workspace);
COMPRESS_API int32_t COMPRESS_CALL compress_ShutDown(void *workspace);

typedef int32_t(COMPRESS_CALL *compress_InitializeFn)(const char *, uint16_t, void *, uint32_t);
typedef int32_t(COMPRESS_CALL *compress_TestEnableFn)(void *);
typedef int32_t(COMPRESS_CALL *compress_SetModeFn)(int32_t, void *);
typedef int32_t(COMPRESS_CALL *compress_AddValueFn)(int32_t, uint16_t, const char *, void *);
typedef int32_t(COMPRESS_CALL *compress_BuildAllFn)(char *, uint16_t *, int32_t, void *);
typedef int32_t(COMPRESS_CALL *compress_ANSI_StringBuildAllFn)(const char *, uint16_t, char *, uint16_t *, int32_t,
                                                               void *);
typedef int32_t(COMPRESS_CALL *compress_ShutDownFn)(void *);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ZAL2443_COMPRESS_H */
