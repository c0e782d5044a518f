/*
 * ZAL2443 - EPL2 label printer driver library: the public C interface.
 *
 * The host shipping application lays out every record below; their byte
 * offsets are part of the interface of the 32-bit Windows DLL and are
 * checked at compile time on that target (see the static_asserts at the
 * end).  On 64-bit Linux the same structs keep the same field order with
 * native (8-byte) pointers, so offsets after the first pointer differ from
 * the 32-bit table; a 64-bit host simply uses these declarations.
 *
 * Text fields are zero-terminated single-byte strings; wide text is 16-bit
 * (char16_t) on both targets.  Fields named _hostNNN belong to the host:
 * the library neither reads nor writes them.
 */
#ifndef ZAL2443_H
#define ZAL2443_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#include <cstddef>
typedef char16_t zal_wchar;
extern "C" {
#else
#include <uchar.h>
typedef char16_t zal_wchar;
#endif

#if defined(_WIN32)
#define ZALAPI __cdecl
#if defined(ZAL2443_BUILDING)
#define ZALEXPORT /* the .def file names the exports */
#else
#define ZALEXPORT __declspec(dllimport)
#endif
#else
#define ZALAPI
#define ZALEXPORT __attribute__((visibility("default")))
#endif

#define ZAL2443_VERSION_TEXT "23.03.01"
#define ZAL2443_MODULE_NAME "ZAL2443.DLL"

typedef void *ZalWindowHandle;

/* One media type row (76 bytes); also inside the job profile entry. */
typedef struct MediaType {
    uint16_t Id;             /*  0: 0 = no media type */
    uint16_t Kind;           /*  2: 2 in every defined row */
    char Name[48];           /*  4 */
    float Width;             /* 52: inches */
    float Length;            /* 56: inches */
    uint8_t Reserved60[8];   /* 60: zero in the library's rows */
    uint8_t Docutab;         /* 68: 1 = label carries a docutab strip */
    uint8_t Pad69[3];        /* 69 */
    float DocutabLength;     /* 72: 0.75 in the library's rows */
} MediaType;

/* One print orientation row (26 bytes). */
typedef struct PrintOrientationDefinition {
    uint16_t Id;  /* 0: 0 = none, 1 Portrait, 3 Flipped */
    char Name[24];
} PrintOrientationDefinition;

/* One label device row (490 bytes). */
typedef struct LabelDeviceDescription {
    uint16_t Id;               /*   0 */
    char Description[100];     /*   2 */
    char LibraryFile[256];     /* 102 */
    char ModuleName[64];       /* 358 */
    uint8_t Reserved422[64];   /* 422 */
    uint16_t InterfaceValue;   /* 486: 2315 (0x090B) */
    uint16_t DeviceKind;       /* 488: 1 label, 4 document */
} LabelDeviceDescription;

/* Library information record, owned by the host, filled by the library. */
typedef struct _LibraryInfoA {
    uint16_t InfoVersion;                    /*  0: set to 1 */
    char Version[16];                        /*  2: "23.03.01" */
    uint8_t _host18[2];                      /* 18 */
    MediaType *MediaTypes;                   /* 20 */
    uint32_t MediaTypesSize;                 /* 24: bytes */
    uint16_t MediaTypeCount;                 /* 28 */
    uint16_t MediaReserved;                  /* 30: set to 0 */
    PrintOrientationDefinition *Orientations;/* 32 */
    uint32_t OrientationsSize;               /* 36 */
    uint16_t OrientationCount;               /* 40 */
    uint16_t OrientationReserved;            /* 42: set to 0 */
    uint8_t OrientationFlag;                 /* 44: set to 0 */
    uint8_t _host45[3];                      /* 45 */
    LabelDeviceDescription *Devices;         /* 48 */
    uint32_t DevicesSize;                    /* 52 */
    uint16_t DeviceCount;                    /* 56 */
} _LibraryInfoA;

/* Host port record of the selected device. */
typedef struct _PortInfoA {
    char PortName[256];          /*    0 */
    uint16_t PortType;           /*  256: 64 = discard port */
    uint8_t _host258[2];         /*  258 */
    uint32_t Flags;              /*  260: bit3 & !bit2 = USB; bit0 = open by name */
    uint8_t _host264[8];         /*  264 */
    uint32_t PortNumber;         /*  272 */
    uint8_t _host276[6];         /*  276 */
    char DevicePath[1295];       /*  282 */
    char PortText[1151];         /* 1577 */
    char UsbDevicePath[260];     /* 2728 */
    uint8_t UseUsbDevicePath;    /* 2988 */
    uint8_t _host2989[525];      /* 2989 */
    uint16_t UsbVendorId;        /* 3514 */
    uint16_t UsbProductId;       /* 3516 */
} _PortInfoA;

/* Job profile entry: the device, media and orientation of one job. */
typedef struct _JobProfileEntryA {
    void *_host0;                          /*    0 */
    uint32_t _host4;                       /*    4 */
    _PortInfoA *PortInfo;                  /*    8 */
    uint8_t _host12[8];                    /*   12 */
    uint16_t DeviceId;                     /*   20 */
    char _host22[255];                     /*   22 */
    char DeviceDescription[255];           /*  277 */
    char OptionKeyPrefix[32];              /*  532 */
    uint8_t _host564[3908];                /*  564 */
    MediaType Media;                       /* 4472 */
    PrintOrientationDefinition Orientation;/* 4548 */
    uint8_t _host4574[18];                 /* 4574 */
    uint16_t UsbVendorId;                  /* 4592 */
    uint16_t UsbProductId;                 /* 4594 */
} _JobProfileEntryA;

/* Job record handed to ZALProcessJobA and the dialogs. */
typedef struct _JobInfoA {
    void *_host0;                        /*  0 */
    const char *JobTag;                  /*  4: first 8 characters tag the log lines */
    void *_host8;                        /*  8 */
    const char *JobFile;                 /* 12: INI job file, section Begin */
    void *_host16;                       /* 16 */
    char *ResultFileName;                /* 20: job file name in, result file name out */
    uint32_t ResultFileNameSize;         /* 24 */
    const char *ProfileFile;             /* 28: holds section PeripheralSetup */
    void *_host32;                       /* 32 */
    const char *SettingsFile;            /* 36: BusyTimeout, FileLocation */
    void *_host40[5];                    /* 40 */
    const char *ArchiveFolder;           /* 60: MaxiCode test data folder */
    void *_host64;                       /* 64 */
    int32_t ResultFileFlag;              /* 68: !0 rename to .OK/.ERR, 0 delete */
    void *_host72[2];                    /* 72 */
    ZalWindowHandle ParentWindow;        /* 80 */
    int32_t BusyTimeout;                 /* 84: 0 = read from the settings file */
    _JobProfileEntryA *ProfileEntry;     /* 88 */
} _JobInfoA;

/* Wide job record: only the parent window is read (ZALDevConfExW). */
typedef struct _JobInfoW {
    uint8_t _host0[60];                  /*  0 */
    ZalWindowHandle ParentWindow;        /* 60 */
} _JobInfoW;

/* Peripheral record: only the device name is read. */
typedef struct _PeripheralInfoA {
    uint8_t _host0[806];
    char DeviceName[256];                /* 806 */
} _PeripheralInfoA;

typedef struct _PeripheralInfoW {
    uint8_t _host0[1574];
    zal_wchar DeviceName[256];           /* 1574 */
} _PeripheralInfoW;

/* Logging configuration, passed by value (1008 bytes narrow). */
typedef struct _LoggingConfigA {
    char Lead;                  /*   0: not read */
    char LogFolder[260];        /*   1 */
    char DebugLogName[260];     /* 261 */
    char ErrorLogName[260];     /* 521 */
    char ModuleName[64];        /* 781 */
    char LineFormat[64];        /* 845 */
    char PlainLineFormat[64];   /* 909 */
    uint8_t Pad973;             /* 973 */
    uint16_t HeaderWidth;       /* 974: 0 = 50 */
    uint16_t WrapWidth;         /* 976: 0 = 160 */
    uint16_t LineSize;          /* 978: for the USB support library only */
    uint32_t Flags;             /* 980: level and category bits */
    uint8_t Reserved[24];       /* 984 */
} _LoggingConfigA;

typedef struct _LoggingConfigW {
    zal_wchar Lead;              /*    0 */
    zal_wchar LogFolder[260];    /*    2 */
    zal_wchar DebugLogName[260]; /*  522 */
    zal_wchar ErrorLogName[260]; /* 1042 */
    zal_wchar ModuleName[64];    /* 1562 */
    zal_wchar LineFormat[64];    /* 1690 */
    zal_wchar PlainLineFormat[64]; /* 1818 */
    uint16_t HeaderWidth;        /* 1946 */
    uint16_t WrapWidth;          /* 1948 */
    uint16_t LineSize;           /* 1950 */
    uint32_t Flags;              /* 1952 */
    uint8_t Reserved[24];        /* 1956 */
} _LoggingConfigW;

/* Log level and category bits of _LoggingConfigA.Flags. */
#define ZAL_LOG_LOWEST 0x1u
#define ZAL_LOG_WARN 0x2u
#define ZAL_LOG_INFO 0x4u
#define ZAL_LOG_DEBUG 0x8u
#define ZAL_LOG_MEMORY 0x100u
#define ZAL_LOG_FILES 0x800u
#define ZAL_LOG_JOB 0x1000u
#define ZAL_LOG_COMPRESS 0x10000u
#define ZAL_LOG_DUMP 0x40000u

/* The eleven exports.  The two wide forms carry Microsoft-decorated names
 * in ZAL2443.DLL (see src/api/zal2443.def) and plain names elsewhere. */
ZALEXPORT int32_t ZALAPI ZALGetLibraryType(void);
ZALEXPORT int32_t ZALAPI ZALGetLibraryInfoASizes(_LibraryInfoA *info);
ZALEXPORT int32_t ZALAPI ZALGetLibraryInfoA(_LibraryInfoA *info);
ZALEXPORT void ZALAPI ZALSetDebugA(_LoggingConfigA config);
ZALEXPORT void ZALAPI ZALSetDebugW(_LoggingConfigW config);
ZALEXPORT int32_t ZALAPI ZALStartup(void);
ZALEXPORT int32_t ZALAPI ZALShutdown(void);
ZALEXPORT int32_t ZALAPI ZALProcessJobA(_JobInfoA *job, _PeripheralInfoA *peripheral);
ZALEXPORT int32_t ZALAPI ZALDevConfExA(_JobInfoA *job, _PeripheralInfoA *peripheral);
ZALEXPORT int32_t ZALAPI ZALDevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral);
ZALEXPORT int32_t ZALAPI ZALDevDiagA(_JobInfoA *job, _PeripheralInfoA *peripheral);

/* Function pointer types, for hosts that resolve the exports by name. */
typedef int32_t(ZALAPI *ZALGetLibraryTypeFn)(void);
typedef int32_t(ZALAPI *ZALGetLibraryInfoAFn)(_LibraryInfoA *);
typedef void(ZALAPI *ZALSetDebugAFn)(_LoggingConfigA);
typedef void(ZALAPI *ZALSetDebugWFn)(_LoggingConfigW);
typedef int32_t(ZALAPI *ZALStartupFn)(void);
typedef int32_t(ZALAPI *ZALProcessJobAFn)(_JobInfoA *, _PeripheralInfoA *);
typedef int32_t(ZALAPI *ZALDevConfExWFn)(_JobInfoW *, const _PeripheralInfoW *);

#define ZAL_EXPORT_SETDEBUGW_DECORATED "?ZALSetDebugW@@YAXU_LoggingConfigW@@@Z"
#if defined(_WIN64)
#define ZAL_EXPORT_DEVCONFEXW_DECORATED "?ZALDevConfExW@@YAHPEAU_JobInfoW@@PEBU_PeripheralInfoW@@@Z"
#else
#define ZAL_EXPORT_DEVCONFEXW_DECORATED "?ZALDevConfExW@@YAHPAU_JobInfoW@@PBU_PeripheralInfoW@@@Z"
#endif

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The record layouts of the 32-bit Windows interface. */
#if defined(__cplusplus) && defined(_WIN32) && !defined(_WIN64)
#define ZAL_OFFSET(T, f, o) static_assert(offsetof(T, f) == (o), #T "." #f " must sit at " #o)
#define ZAL_SIZE(T, s) static_assert(sizeof(T) == (s), "sizeof(" #T ") must be " #s)
ZAL_SIZE(MediaType, 76);
ZAL_OFFSET(MediaType, Kind, 2);
ZAL_OFFSET(MediaType, Name, 4);
ZAL_OFFSET(MediaType, Width, 52);
ZAL_OFFSET(MediaType, Length, 56);
ZAL_OFFSET(MediaType, Reserved60, 60);
ZAL_OFFSET(MediaType, Docutab, 68);
ZAL_OFFSET(MediaType, DocutabLength, 72);
ZAL_SIZE(PrintOrientationDefinition, 26);
ZAL_OFFSET(PrintOrientationDefinition, Name, 2);
ZAL_SIZE(LabelDeviceDescription, 490);
ZAL_OFFSET(LabelDeviceDescription, Description, 2);
ZAL_OFFSET(LabelDeviceDescription, LibraryFile, 102);
ZAL_OFFSET(LabelDeviceDescription, ModuleName, 358);
ZAL_OFFSET(LabelDeviceDescription, InterfaceValue, 486);
ZAL_OFFSET(LabelDeviceDescription, DeviceKind, 488);
ZAL_OFFSET(_LibraryInfoA, Version, 2);
ZAL_OFFSET(_LibraryInfoA, MediaTypes, 20);
ZAL_OFFSET(_LibraryInfoA, MediaTypesSize, 24);
ZAL_OFFSET(_LibraryInfoA, MediaTypeCount, 28);
ZAL_OFFSET(_LibraryInfoA, MediaReserved, 30);
ZAL_OFFSET(_LibraryInfoA, Orientations, 32);
ZAL_OFFSET(_LibraryInfoA, OrientationsSize, 36);
ZAL_OFFSET(_LibraryInfoA, OrientationCount, 40);
ZAL_OFFSET(_LibraryInfoA, OrientationReserved, 42);
ZAL_OFFSET(_LibraryInfoA, OrientationFlag, 44);
ZAL_OFFSET(_LibraryInfoA, Devices, 48);
ZAL_OFFSET(_LibraryInfoA, DevicesSize, 52);
ZAL_OFFSET(_LibraryInfoA, DeviceCount, 56);
ZAL_OFFSET(_PortInfoA, PortType, 256);
ZAL_OFFSET(_PortInfoA, Flags, 260);
ZAL_OFFSET(_PortInfoA, PortNumber, 272);
ZAL_OFFSET(_PortInfoA, DevicePath, 282);
ZAL_OFFSET(_PortInfoA, PortText, 1577);
ZAL_OFFSET(_PortInfoA, UsbDevicePath, 2728);
ZAL_OFFSET(_PortInfoA, UseUsbDevicePath, 2988);
ZAL_OFFSET(_PortInfoA, UsbVendorId, 3514);
ZAL_OFFSET(_PortInfoA, UsbProductId, 3516);
ZAL_OFFSET(_JobProfileEntryA, PortInfo, 8);
ZAL_OFFSET(_JobProfileEntryA, DeviceId, 20);
ZAL_OFFSET(_JobProfileEntryA, DeviceDescription, 277);
ZAL_OFFSET(_JobProfileEntryA, OptionKeyPrefix, 532);
ZAL_OFFSET(_JobProfileEntryA, Media, 4472);
ZAL_OFFSET(_JobProfileEntryA, Orientation, 4548);
ZAL_OFFSET(_JobProfileEntryA, UsbVendorId, 4592);
ZAL_OFFSET(_JobProfileEntryA, UsbProductId, 4594);
ZAL_OFFSET(_JobInfoA, JobTag, 4);
ZAL_OFFSET(_JobInfoA, JobFile, 12);
ZAL_OFFSET(_JobInfoA, ResultFileName, 20);
ZAL_OFFSET(_JobInfoA, ResultFileNameSize, 24);
ZAL_OFFSET(_JobInfoA, ProfileFile, 28);
ZAL_OFFSET(_JobInfoA, SettingsFile, 36);
ZAL_OFFSET(_JobInfoA, ArchiveFolder, 60);
ZAL_OFFSET(_JobInfoA, ResultFileFlag, 68);
ZAL_OFFSET(_JobInfoA, ParentWindow, 80);
ZAL_OFFSET(_JobInfoA, BusyTimeout, 84);
ZAL_OFFSET(_JobInfoA, ProfileEntry, 88);
ZAL_OFFSET(_JobInfoW, ParentWindow, 60);
ZAL_OFFSET(_PeripheralInfoA, DeviceName, 806);
ZAL_OFFSET(_PeripheralInfoW, DeviceName, 1574);
ZAL_SIZE(_LoggingConfigA, 1008);
ZAL_OFFSET(_LoggingConfigA, LogFolder, 1);
ZAL_OFFSET(_LoggingConfigA, DebugLogName, 261);
ZAL_OFFSET(_LoggingConfigA, ErrorLogName, 521);
ZAL_OFFSET(_LoggingConfigA, ModuleName, 781);
ZAL_OFFSET(_LoggingConfigA, LineFormat, 845);
ZAL_OFFSET(_LoggingConfigA, PlainLineFormat, 909);
ZAL_OFFSET(_LoggingConfigA, HeaderWidth, 974);
ZAL_OFFSET(_LoggingConfigA, WrapWidth, 976);
ZAL_OFFSET(_LoggingConfigA, LineSize, 978);
ZAL_OFFSET(_LoggingConfigA, Flags, 980);
ZAL_OFFSET(_LoggingConfigW, Flags, 1952);
#undef ZAL_OFFSET
#undef ZAL_SIZE
#endif

#endif /* ZAL2443_H */
