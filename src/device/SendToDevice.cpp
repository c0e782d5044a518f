// Writing a finished command stream to the job's device: the discard port,
// the output file, USB printers through the support library, parallel ports
// with their status, serial ports and any other device path.
#include <cstring>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "common/Strings.h"
#include "device/DeviceOutput.h"
#include "device/ParallelStatus.h"
#include "device/QueuePort.h"
#include "device/SerialPort.h"
#include "device/UsbPort.h"
#include "platform/Platform.h"

namespace zal {
namespace {

constexpr const char *kCaption = "Quorra Peripheral Engine";
constexpr uint32_t kRetryCancelStyle =
    platform::kBoxRetryCancel | platform::kBoxSetForeground | platform::kBoxTopmost;  // 0x50005
constexpr uint32_t kBusyPollMs = 50;
// The write time-out of a job whose busy time-out is 0: the default 10 s.
constexpr uint32_t kDefaultWriteTimeoutMs = 10000;
constexpr std::size_t kSystemTextLimit = 255;
constexpr const char *kNoFurtherInformation = "No further information is available.";

bool IsSerialPort(const JobContext &context) {
    return TextLength(context.PortText, 3) == 3 && EqualsNoCase(std::string(context.PortText, 3).c_str(), "COM");
}

bool AskRetry(const std::string &text) {
    return seams::MessageBox(text.c_str(), kCaption, kRetryCancelStyle) == platform::kAnswerRetry;
}

// The system's text for an error, with its code (256 characters at most).
std::string DescribeError(uint32_t code) {
    char description[256];
    FormatErrorString(code, description, sizeof description, true, kKindWin32);
    return description;
}

// The "FILE" port writes through to the disk, as a printer port would take
// the bytes; a host that captures the labels for itself (zalprint's --out)
// sets ZAL2443_FILE_WRITE_THROUGH=0 and keeps the system's cache.
bool FileWriteThrough() { return platform::GetEnvironment("ZAL2443_FILE_WRITE_THROUGH") != "0"; }

// Another program appending its label holds the file for that long: it is
// waited for as a busy port is.  Every failure says why in the log.
platform::Handle OpenOutputFile(const JobContext &context) {
    platform::OpenOptions options;
    options.writeThrough = FileWriteThrough();
    options.append = true;
    options.disposition = platform::Disposition::OpenAlways;
    uint64_t waited = 0;
    for (;;) {
        platform::Handle file = platform::CreateFile(context.OutputFile, options);
        if (platform::IsValidHandle(file)) return file;
        uint32_t error = platform::GetLastError();
        if (error == platform::kErrorSharingViolation && waited < context.BusyTimeout) {
            seams::Sleep(kBusyPollMs);
            waited += kBusyPollMs;
            continue;
        }
        if (error == platform::kErrorSharingViolation) {
            log::LogError("SendToDevice: Error while opening output file \"%s\" of device \"%s\" after waiting %u ms "
                          "for another writer; %s",
                          context.OutputFile, context.DeviceDescription, static_cast<unsigned>(waited),
                          DescribeError(error).c_str());
        } else {
            log::LogError("SendToDevice: Error while opening output file \"%s\" of device \"%s\"; %s",
                          context.OutputFile, context.DeviceDescription, DescribeError(error).c_str());
        }
        return platform::kInvalidHandle;
    }
}

int32_t WriteOutputFile(const JobContext &context, const char *bytes, uint32_t count) {
    platform::Handle file = OpenOutputFile(context);
    if (!platform::IsValidHandle(file)) return ZALERR_PRINTER_OPENFAIL;
    // Each label is appended; a failed seek would overwrite earlier labels.
    uint32_t written = 0;
    bool ok = platform::SeekToEnd(file) && platform::WriteFile(file, bytes, count, &written) && written == count;
    if (!ok) {
        log::LogError("SendToDevice: Failed to write to output file \"%s\" of device \"%s\" (%u of %u bytes "
                      "written); %s",
                      context.OutputFile, context.DeviceDescription, static_cast<unsigned>(written),
                      static_cast<unsigned>(count), DescribeError(platform::GetLastError()).c_str());
    }
    platform::CloseHandle(file);
    return ok ? ZALERR_SUCCESS : ZALERR_PRINTER_BADWRITE;
}

// Opens PortPath; on failure the system's text for the last error.
platform::Handle OpenPortPath(const JobContext &context, std::string &errorText) {
    log::LogInfo("Opening port \"%s\" (\"%s\")...", context.PortText, context.PortPath);
    platform::OpenOptions options;
    platform::Handle port = platform::CreateFile(context.PortPath, options);
    if (!platform::IsValidHandle(port)) {
        options.disposition = platform::Disposition::OpenAlways;
        port = platform::CreateFile(context.PortPath, options);
    }
    uint32_t error = platform::GetLastError();
    std::string text;
    if (!platform::IsValidHandle(port) && error != 0 && platform::SystemMessage(error, kKindWin32, text)) {
        if (text.size() > kSystemTextLimit) text.resize(kSystemTextLimit);
        errorText = text;
    }
    return port;
}

// Opens the device, asking Retry/Cancel after each failure.  A USB printer
// that is busy (held by another program, or taking no data yet) is tried
// again every 50 ms until the busy time-out, without a box.  Returns 0 with
// a valid handle, else the result of the last attempt.
int32_t OpenDevice(const JobContext &context, platform::Handle &handle) {
    int32_t result = ZALERR_PRINTER_OPENFAIL;
    uint64_t waited = 0;
    for (;;) {
        std::string errorText;
        handle = platform::kInvalidHandle;
        if (context.IsUsb != 0) {
            result = OpenUsbPort(context, handle, errorText);
        } else {
            handle = OpenPortPath(context, errorText);
            result = ZALERR_PRINTER_OPENFAIL;
        }
        if (platform::IsValidHandle(handle)) return ZALERR_SUCCESS;
        if (result == ZALERR_PRINTER_DEVICEBUSY) {
            if (waited < context.BusyTimeout) {
                seams::Sleep(kBusyPollMs);
                waited += kBusyPollMs;
                continue;
            }
            log::LogError("SendToDevice: Device \"%s\" on port \"%s\" was still busy after %u ms.",
                          context.DeviceDescription, context.PortText, static_cast<unsigned>(waited));
            waited = 0;
        }

        const char *reason = errorText.empty() ? kNoFurtherInformation : errorText.c_str();
        std::string text = FormatString("An error has occurred while opening device:\n\nDevice: %s\nPort: %s\nError: ",
                                        context.DeviceDescription, context.PortText) +
                           reason;
        log::LogError("SendToDevice: Error while opening device \"%s\" on port \"%s\"; %s",
                      context.DeviceDescription, context.PortText, reason);
        if (!AskRetry(text)) return result;
    }
}

PortStatus CurrentStatus(const JobContext &context, std::string &reason) {
    // A USB printer, a port without status and port kind 4 are written whatever their status.
    if (context.IsUsb != 0 || context.PortKind == 0 || context.PortKind == 4) return PortStatus::Ready;
    return ReadParallelStatus(context.PortKind, &reason);
}

// Writes all bytes, waiting while a parallel port is busy and asking
// Retry/Cancel after each failure.  What the port took stays taken: a
// Retry after a cut write sends the rest of the label, so the printer does
// not get its start twice.  written: the bytes the port took.
int32_t WriteDevice(const JobContext &context, platform::Handle port, const char *bytes, uint32_t count,
                    uint32_t &written) {
    int32_t result = ZALERR_SUCCESS;
    uint64_t waited = 0;
    written = 0;
    for (;;) {
        result = ZALERR_SUCCESS;
        std::string reason;
        PortStatus status = CurrentStatus(context, reason);
        std::string text =
            FormatString("An error has occurred while sending data to device:\n\nDevice: %s\nPort: %s\nError: ",
                         context.DeviceDescription, context.PortText);
        log::LogInfo("Writing %d bytes of data to \"%s\"...", static_cast<int>(count - written), context.PortText);
        platform::SetLastError(0);
        if (status == PortStatus::Busy) {
            if (waited < context.BusyTimeout) {
                seams::Sleep(kBusyPollMs);
                waited += kBusyPollMs;
                continue;
            }
            waited = 0;
            text += "Port is busy.";
            log::LogError("SendToDevice: Failed to write to device \"%s\" on port \"%s\"; port is busy.",
                          context.DeviceDescription, context.PortText);
            result = ZALERR_PRINTER_DEVICEBUSY;
        } else if (status == PortStatus::NotReady) {
            text += "Port is not ready";
            log::LogError("SendToDevice: Failed to write to device \"%s\" on port \"%s\"; port is not ready.",
                          context.DeviceDescription, context.PortText);
            result = ZALERR_PRINTER_DEVICEOFFLINE;
        } else if (status == PortStatus::Unreadable) {
            // Nothing is known of the printer: not reported as offline.
            text += "Port status could not be read: " + reason;
            log::LogError("SendToDevice: Failed to read the port status of device \"%s\" on port \"%s\"; %s",
                          context.DeviceDescription, context.PortText, reason.c_str());
            result = LABEL_BADREAD;
        } else {
            uint32_t now = 0;
            bool ok = platform::WriteFile(port, bytes + written, count - written, &now);
            written += now < count - written ? now : count - written;
            if (ok && written == count) return ZALERR_SUCCESS;
            std::string description = DescribeError(platform::GetLastError());
            log::LogError("SendToDevice: Failed to write to device \"%s\" on port \"%s\"; %s",
                          context.DeviceDescription, context.PortText, description.c_str());
            if (ok) {
                log::LogError("SendToDevice: Error while writing to device \"%s\" on port \"%s\"; data write was "
                              "interrupted.",
                              context.DeviceDescription, context.PortText);
                text += "Data writing was interrupted";
            } else {
                text += description;
            }
            log::LogError("SendToDevice: %u of %u bytes of the label went out to device \"%s\" on port \"%s\".",
                          static_cast<unsigned>(written), static_cast<unsigned>(count), context.DeviceDescription,
                          context.PortText);
            result = ZALERR_PRINTER_BADWRITE;
        }
        if (!AskRetry(text)) return result;
    }
}

void CloseDevice(const JobContext &context, platform::Handle &port) {
    if (!IsSerialPort(context) && !platform::FlushFileBuffers(port)) {
        log::LogInfo("SendToDevice: Error while flushing buffers for device \"%s\" on port \"%s\"; %s",
                     context.DeviceDescription, context.PortText, DescribeError(platform::GetLastError()).c_str());
    }
    log::LogDebug(log::kMemory, "CloseAndDestroyHandle: Closing %s=%p (%p)", "SendToDevice:DevHandle",
                  reinterpret_cast<void *>(port), static_cast<void *>(&port));
    platform::CloseHandle(port);
    port = platform::kInvalidHandle;
}

// A print queue takes the label as one job, whole or not at all; after a
// failure Retry sends the whole label again.  A queue that cannot be reached
// or found fails as a port that does not open (-301), one that was found and
// did not take the label as a failed write (-304).
int32_t SendToQueue(const JobContext &context, const char *bytes, uint32_t count) {
    platform::QueueAddress address;
    std::string error;
    bool valid = ParseQueuePort(context.PortText, address, error);
    for (;;) {
        platform::QueueOutcome outcome;
        if (valid) {
            log::LogInfo("Sending %u bytes of data to print queue \"%s\" as job \"%s\"...", static_cast<unsigned>(count),
                         address.queue.c_str(), context.JobName);
            outcome = platform::SendToQueue(address, context.JobName, bytes, count);
        } else {
            outcome.failedAt = platform::QueueStep::Open;
            outcome.reason = error;
        }
        if (outcome.failedAt == platform::QueueStep::Done) {
            log::LogInfo("SendToDevice: Print queue \"%s\" took the label as job %d.", address.queue.c_str(),
                         outcome.jobId);
            log::LogInfo("Wrote %u bytes of data.", static_cast<unsigned>(count));
            return ZALERR_SUCCESS;
        }
        int32_t result;
        std::string text;
        if (outcome.failedAt == platform::QueueStep::Open) {
            result = ZALERR_PRINTER_OPENFAIL;
            text = FormatString("An error has occurred while opening device:\n\nDevice: %s\nPort: %s\nError: ",
                                context.DeviceDescription, context.PortText);
            log::LogError("SendToDevice: Error while opening device \"%s\" on port \"%s\"; %s",
                          context.DeviceDescription, context.PortText, outcome.reason.c_str());
        } else {
            result = ZALERR_PRINTER_BADWRITE;
            text = FormatString("An error has occurred while sending data to device:\n\nDevice: %s\nPort: %s\nError: ",
                                context.DeviceDescription, context.PortText);
            log::LogError("SendToDevice: Failed to write to device \"%s\" on port \"%s\"; %s",
                          context.DeviceDescription, context.PortText, outcome.reason.c_str());
        }
        if (!AskRetry(text + outcome.reason)) return result;
    }
}

}  // namespace

int32_t SendToDevice(JobContext *context, const char *bytes, int count) {
    if (context == nullptr) return ZALERR_UNKNOWNFAIL;
    // Nothing to read past: a negative count or missing bytes write nothing.
    uint32_t length = bytes != nullptr && count > 0 ? static_cast<uint32_t>(count) : 0;
    if (length == 0) bytes = "";

    if (context->PortType == kPortTypeDiscard) {
        log::LogInfo("Discarded %d bytes of data to \"%s\".", count, context->PortText);
        return ZALERR_SUCCESS;
    }
    if (context->OutputFile[0] != '\0') return WriteOutputFile(*context, bytes, length);
    if (context->IsUsb == 0 && IsQueuePort(context->PortText)) return SendToQueue(*context, bytes, length);

    platform::Handle port = platform::kInvalidHandle;
    int32_t result = OpenDevice(*context, port);
    if (result != ZALERR_SUCCESS) return result;

    // A device that stops taking data ends the write after the job's busy
    // time-out instead of holding the station for ever (a serial line has
    // its own time-outs, a file takes its bytes).
    platform::SetWriteTimeout(port, context->BusyTimeout != 0 ? context->BusyTimeout : kDefaultWriteTimeoutMs);

    uint32_t written = 0;
    if (IsSerialPort(*context) && context->IsUsb == 0 && !ConfigureSerialPort(port, *context)) {
        // ConfigureSerialPort has written the error line; nothing is sent.
        result = LABEL_CONFIGFAIL;
    } else {
        result = WriteDevice(*context, port, bytes, length, written);
    }
    if (result == ZALERR_SUCCESS) log::LogInfo("Wrote %u bytes of data.", written);
    CloseDevice(*context, port);
    return result;
}

}  // namespace zal
