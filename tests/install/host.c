/* A tiny C host of the installed library: one job through ZALProcessJobA,
 * on the library's first device with 4x6 media, portrait, and the FILE
 * port, as a shipping application calls it.  C, not C++: the public header
 * must serve C hosts.
 *
 *   host JOB PROFILE SETTINGS DEVICE_KEY
 *
 * The label goes to DEVICE_KEY.out in the settings file's FileLocation;
 * the job file is deleted, as a host without result files asks. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zal2443/zal2443.h>

static void Copy(char *field, size_t size, const char *text) {
    strncpy(field, text, size - 1);
    field[size - 1] = '\0';
}

int main(int argc, char **argv) {
    static _JobProfileEntryA entry;
    static _PortInfoA port;
    static _PeripheralInfoA peripheral;
    _LibraryInfoA info;
    _JobInfoA job;
    char resultName[1024];
    int32_t rc;
    unsigned i;

    if (argc != 5) {
        fprintf(stderr, "usage: host JOB PROFILE SETTINGS DEVICE_KEY\n");
        return 2;
    }
    ZALStartup();

    /* The library's tables, sized as it asks. */
    memset(&info, 0, sizeof info);
    ZALGetLibraryInfoASizes(&info);
    info.Devices = calloc(1, info.DevicesSize);
    info.MediaTypes = calloc(1, info.MediaTypesSize);
    info.Orientations = calloc(1, info.OrientationsSize);
    if (info.Devices == NULL || info.MediaTypes == NULL || info.Orientations == NULL) return 2;
    ZALGetLibraryInfoA(&info);
    printf("library %s, %u devices\n", info.Version, (unsigned)info.DeviceCount);
    if (info.DeviceCount == 0) return 2;

    entry.DeviceId = info.Devices[0].Id;
    Copy(entry.DeviceDescription, sizeof entry.DeviceDescription, info.Devices[0].Description);
    Copy(peripheral.DeviceName, sizeof peripheral.DeviceName, info.Devices[0].Description);
    Copy(entry.OptionKeyPrefix, sizeof entry.OptionKeyPrefix, argv[4]);
    for (i = 0; i < info.MediaTypeCount; ++i) {
        if (info.MediaTypes[i].Width == 4.0f && info.MediaTypes[i].Length == 6.0f && !info.MediaTypes[i].Docutab)
            entry.Media = info.MediaTypes[i];
    }
    for (i = 0; i < info.OrientationCount; ++i) {
        if (info.Orientations[i].Id == 1) entry.Orientation = info.Orientations[i];
    }
    Copy(port.PortName, sizeof port.PortName, "FILE");
    entry.PortInfo = &port;

    memset(&job, 0, sizeof job);
    Copy(resultName, sizeof resultName, argv[1]);
    job.JobTag = "job";
    job.JobFile = argv[1];
    job.ResultFileName = resultName;
    job.ResultFileNameSize = sizeof resultName;
    job.ProfileFile = argv[2];
    job.SettingsFile = argv[3];
    job.ResultFileFlag = 0;
    job.ProfileEntry = &entry;
    rc = ZALProcessJobA(&job, &peripheral);
    ZALShutdown();
    printf("ZALProcessJobA: %d\n", (int)rc);
    free(info.Devices);
    free(info.MediaTypes);
    free(info.Orientations);
    return rc == 0 ? 0 : 1;
}
