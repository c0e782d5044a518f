#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/ErrorCodes.h"
#include "device/DeviceOutput.h"
#include "device/QueuePort.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/CupsLibrary.h"
#endif

namespace zal {
namespace {

using test::FixedSeams;

constexpr int kRetry = 4;
constexpr int kCancel = 2;

// The port texts that name a print queue, and what they name.
TEST(QueuePortTest, PortTextsNameTheirQueue) {
    struct Row { const char *text; bool parsed; const char *expected; };
    // expected: queue | host | port | encrypted | resource, or the reason
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CUPS labels", true, "labels |  | 0 | 0 | /printers/labels"},
        /*  1*/ {"cups  Zebra_2844 ", true, "Zebra_2844 |  | 0 | 0 | /printers/Zebra_2844"},
        /*  2*/ {"CUPS Shipping Desk", true, "Shipping Desk |  | 0 | 0 | /printers/Shipping Desk"},  // a Windows name
        /*  3*/ {"ipp://print.local/printers/zq", true, "zq | print.local | 631 | 0 | /printers/zq"},
        /*  4*/ {"IPP://127.0.0.1:8631/printers/zq", true, "zq | 127.0.0.1 | 8631 | 0 | /printers/zq"},
        /*  5*/ {"ipps://[::1]:443/classes/docks", true, "docks | ::1 | 443 | 1 | /classes/docks"},
        /*  6*/ {"ipp://[fe80::1]/printers/zq", true, "zq | fe80::1 | 631 | 0 | /printers/zq"},
        /*  7*/ {"CUPS ", false, "no queue is named"},
        /*  8*/ {"CUPS zq/../admin", false, "\"zq/../admin\" is not a queue name"},
        /*  9*/ {"CUPS zq?x=1", false, "\"zq?x=1\" is not a queue name"},
        /* 10*/ {"CUPS zq\tx", false, "\"zq\tx\" is not a queue name"},
        /* 11*/ {"ipp://host:0/printers/zq", false, "\"0\" is not a port number"},
        /* 12*/ {"ipp://host:65536/printers/zq", false, "\"65536\" is not a port number"},
        /* 13*/ {"ipp://host:63x/printers/zq", false, "\"63x\" is not a port number"},
        /* 14*/ {"ipp://:631/printers/zq", false, "no server is named"},
        /* 15*/ {"ipp://[::1/printers/zq", false, "the address \"[::1\" has no closing ]"},
        /* 16*/ {"ipp://host/admin/zq", false, "the path \"/admin/zq\" is not /printers/<queue> or /classes/<queue>"},
        /* 17*/ {"ipp://host", false, "the path \"\" is not /printers/<queue> or /classes/<queue>"},
        /* 18*/ {"ipp://host/printers/", false, "no queue is named"},
        /* 19*/ {"ipp://host/printers/a/b", false, "\"a/b\" is not a queue name"},
        /* 20*/ {"LPT1:", false, "\"LPT1:\" names no print queue"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        platform::QueueAddress address;
        std::string error;
        ASSERT_EQ(ParseQueuePort(row.text, address, error), row.parsed) << "row " << i << ": " << error;
        std::string got = row.parsed ? test::Joined({address.queue, address.host, std::to_string(address.port),
                                                     std::to_string(address.encrypted), address.resource})
                                     : error;
        EXPECT_EQ(got, row.expected) << "row " << i;
        EXPECT_EQ(IsQueuePort(row.text), i < 20) << "row " << i;
    }
}

std::unique_ptr<JobContext> QueueContext(const char *portText) {
    auto context = std::make_unique<JobContext>();
    std::memset(context.get(), 0, sizeof(JobContext));
    std::strcpy(context->PortText, portText);
    std::strcpy(context->DeviceDescription, "Label - Test");
    std::strcpy(context->JobName, "ship-0001.ini");
    context->BusyTimeout = 10000;
    return context;
}

const std::string kOpenBox = "An error has occurred while opening device:\n\nDevice: Label - Test\nPort: ";

#if !defined(_WIN32)
// A loopback port nobody listens on: one the system handed out and took back.
int ClosedPort() {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

struct CupsLibraryName {
    explicit CupsLibraryName(const char *name) { platform::posix::g_cupsLibraryName = name; }
    ~CupsLibraryName() { platform::posix::g_cupsLibraryName = "libcups.so.2"; }
};
#endif

// A queue that cannot be reached or found fails as a port that does not
// open: a Retry/Cancel box and an error line per try naming the queue, -301.
TEST(QueuePortTest, UnreachableQueueAsksUntilCancel) {
    struct Row { std::string port; const char *library; std::string reason; };
#if defined(_WIN32)
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CUPS NoSuchPrinter", nullptr, "cannot open the printer \"NoSuchPrinter\" of the spooler: "},
        /*  1*/ {"CUPS zq/x", nullptr, "\"zq/x\" is not a queue name"},
    };
    // clang-format on
#else
    const std::string server = "127.0.0.1:" + std::to_string(ClosedPort());
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ipp://" + server + "/printers/zq", nullptr,
                 "CUPS queue \"zq\" at " + server + ": cannot reach the server: "},
        /*  1*/ {"CUPS zq", "libcups-missing.so.2",
                 "the CUPS library libcups-missing.so.2 could not be loaded (libcups-missing.so.2: cannot open shared "
                 "object file: No such file or directory)"},
        /*  2*/ {"CUPS zq/x", nullptr, "\"zq/x\" is not a queue name"},
    };
    // clang-format on
#endif
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        auto context = QueueContext(row.port.c_str());
#if !defined(_WIN32)
        CupsLibraryName library(row.library != nullptr ? row.library : "libcups.so.2");
#endif
        FixedSeams seams;
        seams.ScriptAnswers({kRetry, kCancel});
        EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), ZALERR_PRINTER_OPENFAIL) << "row " << i;
        ASSERT_EQ(FixedSeams::Boxes().size(), 2u) << "row " << i;
        EXPECT_EQ(FixedSeams::Boxes()[1].text.rfind(kOpenBox + row.port + "\nError: " + row.reason, 0), 0u)
            << "row " << i << ": " << FixedSeams::Boxes()[1].text;
        ASSERT_EQ(log.ErrorLines().size(), 2u) << "row " << i;
        EXPECT_TRUE(log.Logged("SendToDevice: Error while opening device \"Label - Test\" on port \"" + row.port +
                               "\"; " + row.reason))
            << "row " << i;
    }
}

// The job's name is the job file's, without its folder.
TEST(QueuePortTest, JobIsNamedAfterTheJobFile) {
    test::TempDir dir;
    std::string job = test::WriteJob(dir, "Carrier=GEN\n");
    _JobProfileEntryA entry{};
    _JobInfoA info{};
    info.JobFile = job.c_str();
    info.ProfileEntry = &entry;
    JobFile file(job.c_str());
    auto context = QueueContext("CUPS zq");
    context->JobName[0] = '\0';
    ASSERT_TRUE(ConfigureDevice(&info, file, context.get()));
    EXPECT_STREQ(context->JobName, "job.ini");
}

}  // namespace
}  // namespace zal
