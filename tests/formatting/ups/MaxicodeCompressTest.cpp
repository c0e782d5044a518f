#include "formatting/ups/CompressDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "common/Settings.h"
#include "formatting/ups/MaxiCodeFields.h"
#include "formatting/ups/MaxiCodeJob.h"
#include "formatting/ups/Maxicode.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace zal {
namespace {

using test::CompressJob;
using test::PluginFile;
using test::Fields;
using test::Visible;

// A message of 81 characters: the whole-string method's 100 hold it.
const std::string kShortMessage =
    "[)>\x1E"
    "01\x1D"
    "96"
    "303280000\x1D"
    "840\x1D"
    "002\x1D"
    "1Z05271688\x1D"
    "UPSN\x1D"
    "12345E\x1D"
    "032\x1D\x1D"
    "1/1\x1D"
    "11\x1D"
    "N\x1D"
    "1 ELM\x1D"
    "BOSTON\x1D"
    "MA\x1E\x04";

// The whole-string method through the stand-in, which answers with the
// message it was given.
TEST(MaxicodeCompressTest, WholeStringThroughTheStandIn) {
    struct Row { const char *from, *to; bool allowMode3; int result; const char *line; };
    // clang-format off
    const Row rows[] = {
        // a domestic carrier with a Canadian code: mode 2 cannot carry it
        /*  0*/ {"303280000", "K1A0B1", true, 0,
                 "Maxicode Compression was unsuccessful: compress_FAILED_INVALID_MODE was returned. Trying alternative mode."},
        // 104 characters: more than the 100 the method takes (compress_DATA_AREA_TOO_SMALL)
        /*  1*/ {"1 ELM", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", false, 24,
                 "Maxicode Compression was unsuccessful: Build fault: Compression error: The allocated data area is too small."},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        CompressJob j;
        std::string message = kShortMessage;
        if (*row.from) message.replace(message.find(row.from), std::strlen(row.from), row.to);
        char output[400] = {};
        EXPECT_EQ(upsMaxicodeCompressAll(Fields(2), message.c_str(), j.label, output, row.allowMode3), row.result) << i;
        if (row.result == 0) {
            EXPECT_EQ(Visible(output), Visible(message)) << "row " << i;
        }
        EXPECT_TRUE(log.HasDebugMessage(row.line) || log.HasErrorMessage(row.line)) << "row " << i;
    }
}

TEST(MaxicodeCompressTest, FailedFieldStopsTheBuild) {
    test::LogCapture log;
    CompressJob j("City=Boston\n");
    MaxiCodeFields fields = Fields(5);  // no such mode
    CopyText(fields.PostalCode, "303280000");
    char output[400] = {};
    EXPECT_EQ(upsMaxicodeCompress(fields, j.label, output), 4);
    EXPECT_TRUE(
        log.HasErrorMessage("Maxicode Compression encountered error: compress_AddValue failed for Field 2: Code: "
                            "4 Type: compress_FAILED_INVALID_MODE Summary: Compression failed: The MaxiCode "
                            "mode type is invalid."));
    EXPECT_TRUE(log.HasErrorMessage(
        "Maxicode Compression was unsuccessful: Build fault: One or more fields failed to be added."));
    EXPECT_FALSE(log.HasDebugMessage("Maxicode Compression: Field 3 added OK"));
}

TEST(MaxicodeCompressTest, FailedCompressionFailsTheJob) {
    test::LogCapture log;
    // a domestic label to a code with letters: mode 2 cannot carry it
    CompressJob j("City=Boston\n");
    CopyText(j.common->ShipToZip, "K1A0B");
    CopyText(j.ups->CompressMaxicode, "Y");
    char destination[400] = {};
    EXPECT_FALSE(LibUPSFormatMaxicode(destination, sizeof destination, *j.common, *j.ups, j.label));
    EXPECT_FALSE(j.ups->MaxiCodeCompressed);
    EXPECT_EQ(j.ups->MaxiCodeCompressedLength, 0);
    EXPECT_EQ(std::string(destination).substr(0, 14), std::string(test::kHeader) + "K1A0B");
    EXPECT_TRUE(log.HasDebugMessage("LibUPSFormatMaxicode: UPS Maxicode compression return code: 4."));
}

TEST(MaxicodeCompressTest, MissingLibrary) {
    test::LogCapture log;
    CompressJob j("", false);
    char output[400] = {};
    EXPECT_EQ(upsMaxicodeCompressAll(Fields(2), kShortMessage.c_str(), j.label, output, false), -1);
    EXPECT_TRUE(log.HasErrorMessage("Maxicode Compression DLL was not found."));
    log.Clear();
    EXPECT_EQ(upsMaxicodeCompress(Fields(2), j.label, output), -1);
    EXPECT_TRUE(log.HasErrorMessage("Maxicode Compression DLL was not found."));
}

// Loading the library runs its code: a job's CompressDir only chooses
// among the folders the settings allow, and on Linux a library that other
// users may change is not loaded either.  Refused, it counts as missing.
TEST(MaxicodeCompressTest, LibraryOnlyFromAllowedFolders) {
    enum Setup { Named, NamedOtherwise, InRegistry, NotNamed, Outside, OthersWriteFolder, OthersWriteLibrary };
    struct Row { Setup setup; bool linuxOnly; int32_t result; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {Named,              false, 0},
        // in a list, beside a folder that does not exist, written another way
        /*  1*/ {NamedOtherwise,     false, 0},
        /*  2*/ {InRegistry,         true,  0},
        /*  3*/ {NotNamed,           false, -1},
        // "<allowed>/../<folder>" only begins like an allowed folder
        /*  4*/ {Outside,            false, -1},
        /*  5*/ {OthersWriteFolder,  true,  -1},
        /*  6*/ {OthersWriteLibrary, true,  -1},
    };
    // clang-format on
    const std::string sep(1, test::Separator());
    const std::string notAllowed =
        "\" is not an allowed compression folder (the program's folder, the library's folder or one named by "
        "MaxiCompressDirs); no library is loaded from it.";
    const std::string othersMayWrite = "\" may be changed by other users; the compression library is not loaded.";
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
#if defined(_WIN32)
        if (row.linuxOnly) continue;
#endif
        test::LogCapture log;
        log.Unwrap();
        test::TempDir library, allowed;
        const std::string standIn = PluginFile("compress");
        const std::string file = library.file(standIn.substr(standIn.find_last_of("/\\") + 1));
        ASSERT_TRUE(platform::CopyFile(standIn.c_str(), file.c_str(), false));
        std::string folder = library.path();
        if (row.setup == Outside) {
            folder = allowed.path() + sep + ".." + sep + library.path().substr(library.path().find_last_of("/\\") + 1);
        }
        CompressJob j("CompressDir=" + folder + "\n", false);
        std::string setting = library.path();
        if (row.setup == NamedOtherwise) setting = allowed.file("missing") + ";" + library.path() + sep + "." + sep;
        if (row.setup == InRegistry) {
            setting = "";
            test::WriteFile(j.registry.file,
                            "[SOFTWARE\\Norwick Solutions Inc.\\Orvandex]\nMaxiCompressDirs=" + library.path() + "\n");
        }
        if (row.setup == NotNamed || row.setup == Outside) setting = allowed.path();
        test::EnvVar named("ZAL2443_COMPRESS_DIRS", setting);
        std::string line = "FindCompressLibrary: \"" + folder + "\\" + notAllowed;
#if !defined(_WIN32)
        const std::string real = platform::CanonicalPath(file.c_str());
        if (row.setup == OthersWriteFolder) {
            ::chmod(library.path().c_str(), 0777);
            line = "FindCompressLibrary: \"" + real.substr(0, real.rfind('/') + 1) + othersMayWrite;
        }
        if (row.setup == OthersWriteLibrary) {
            ::chmod(file.c_str(), 0666);
            line = "FindCompressLibrary: \"" + real + othersMayWrite;
        }
#endif
        char output[400] = {};
        EXPECT_EQ(upsMaxicodeCompressAll(Fields(2), kShortMessage.c_str(), j.label, output, false), row.result)
            << "row " << i;
        EXPECT_EQ(log.HasErrorMessage(line), row.result != 0) << "row " << i << ": " << line;
        EXPECT_EQ(log.HasErrorMessage("Maxicode Compression DLL was not found."), row.result != 0) << "row " << i;
        log.Clear();
        EXPECT_EQ(upsMaxicodeCompress(Fields(2), j.label, output) == -1, row.result != 0) << "row " << i;
        EXPECT_EQ(log.HasErrorMessage(line), row.result != 0) << "row " << i;
#if !defined(_WIN32)
        ::chmod(library.path().c_str(), 0755);
#endif
    }
}

TEST(MaxicodeCompressTest, VersionRule) {
    struct Row { LibraryVersionInfo version; bool accepted; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {{1, 1, 2, 0}, false},
        /*  1*/ {{1, 1, 2, 1}, true},
        /*  2*/ {{1, 1, 3, 1}, false},
        /*  3*/ {{1, 2, 2, 1}, false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(IsSupportedCompressVersion(rows[i].version), rows[i].accepted) << "row " << i;
    }
    // the stand-in carries the version the whole-string method asks for
    CompressJob j;
    LibraryVersionInfo built = GetLibraryVersion(j.standIn.c_str());
    EXPECT_TRUE(IsSupportedCompressVersion(built));
    EXPECT_STREQ(built.productName, "compress");
}

TEST(MaxicodeCompressTest, ErrorTexts) {
    struct Row { int32_t code; const char *name; const char *summary; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {1,   "compress_FAILED_INVALID_WORKSPACE", "Compression failed: Invalid Workspace."},
        /*  1*/ {127, "compress_INITIALIZE_AS_FAILED", "The \"Initialize As\" operation has failed."},
        /*  2*/ {-5,  "", "(Undocumented error code.)"},
        /*  3*/ {-1,  "", ""},
        /*  4*/ {0,   "", ""},
        /*  5*/ {57,  "", ""},
        /*  6*/ {128, "", ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        char name[64] = "x";
        char summary[512] = "x";
        int length = CompressErrorText(rows[i].code, name, summary);
        EXPECT_STREQ(name, rows[i].name) << "row " << i;
        EXPECT_STREQ(summary, rows[i].summary) << "row " << i;
        EXPECT_EQ(length, static_cast<int>(std::strlen(rows[i].summary))) << "row " << i;
    }
}

TEST(MaxicodeCompressTest, CompressFields) {
    MaxiCodeFields fields = Fields(3);
    CopyText(fields.PostalCode, "K1A0B1");
    CopyText(fields.ShipmentId, "   ");
    CopyText(fields.ShipToAddress1, "1 ELM");
    CopyText(fields.ShipToAddress2, "SUITE 5");
    struct Row { int32_t id; bool includeAddr1; bool includeFmt05; bool known; std::string value; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {1,  true,  true,  false, ""},
        /*  1*/ {2,  true,  true,  true,  std::string(1, '\x03')},
        /*  2*/ {5,  true,  true,  true,  "K1A0B1"},
        /*  3*/ {16, true,  true,  true,  "1 ELM"},
        /*  4*/ {16, false, true,  true,  ""},
        /*  5*/ {20, true,  true,  true,  "05"},
        /*  6*/ {20, true,  false, true,  ""},
        /*  7*/ {-1, true,  true,  false, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        fields.IncludeAddr1 = rows[i].includeAddr1;
        fields.IncludeFmt05 = rows[i].includeFmt05;
        char value[36] = "x";
        uint32_t length = 99;
        EXPECT_EQ(GetCompressField(fields, rows[i].id, value, &length), rows[i].known) << "row " << i;
        EXPECT_EQ(std::string(value, length), rows[i].value) << "row " << i;
    }
}

TEST(MaxicodeCompressTest, TestModeArchivesTheCompressorFiles) {
    test::LogCapture log;
    CompressJob j;
    char output[400] = {};
    ASSERT_EQ(upsMaxicodeCompressAll(Fields(2, true), kShortMessage.c_str(), j.label, output, false), 0);
    // input.dat stays for the compressor, complog.err moves
    EXPECT_TRUE(test::FileExists(j.CompressFile("input.dat")));
    EXPECT_FALSE(test::FileExists(j.CompressFile("complog.err")));
    std::string archived = test::ReadFile(j.ArchiveFile("EltronA-JOB42-00016.input.dat"));
    EXPECT_NE(archived.find(kShortMessage), std::string::npos);
    EXPECT_TRUE(test::FileExists(j.ArchiveFile("EltronA-JOB42-00016.complog.err")));
    EXPECT_EQ(platform::GetPrivateProfileInt("Input counter", "EltronA", 0, j.CompressFile("input_dat.ini").c_str()),
              16u);
}

TEST(MaxicodeCompressTest, ArchiveCounter) {
    // stored: -1: no counter file
    // existing: archive names taken after the stored counter
    // name: expected archive name, or null
    struct Row { int stored; int existing; const char *name; unsigned counter; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {-1,    0,  "EltronA-JOB42-00016.input.dat", 16},
        /*  1*/ {99999, 0,  "EltronA-JOB42-00001.input.dat", 1},
        /*  2*/ {99998, 0,  "EltronA-JOB42-99999.input.dat", 99999},
        /*  3*/ {41,    3,  "EltronA-JOB42-00045.input.dat", 45},
        /*  4*/ {20,    10, nullptr,                         30},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        CompressJob j("", false);
        std::string counterFile = j.CompressFile("input_dat.ini");
        if (r.stored >= 0) test::WriteFile(counterFile, "[Input counter]\r\nEltronA=" + std::to_string(r.stored) + "\r\n");
        test::WriteFile(j.CompressFile("input.dat"), "INPUT");
        test::WriteFile(j.CompressFile("complog.err"), "LOG");
        if (r.existing > 0) std::filesystem::create_directories(j.archiveFolder + "MaxicodeOutput");
        for (int n = 1; n <= r.existing; ++n) {
            test::WriteFile(j.ArchiveFile(FormatString("EltronA-JOB42-%05d.input.dat", r.stored + n)), "OLD");
        }
        CopyInputDatFile(j.label);
        EXPECT_EQ(platform::GetPrivateProfileInt("Input counter", "EltronA", 0, counterFile.c_str()), r.counter)
            << "row " << i;
        if (r.name != nullptr) {
            EXPECT_EQ(test::ReadFile(j.ArchiveFile(r.name)), "INPUT") << "row " << i;
            std::string log = std::string(r.name).replace(std::string(r.name).find(".input.dat"), 10, ".complog.err");
            EXPECT_EQ(test::ReadFile(j.ArchiveFile(log)), "LOG") << "row " << i;
            EXPECT_FALSE(test::FileExists(j.CompressFile("complog.err"))) << "row " << i;
        } else {
            // every name taken: nothing copied over, both files stay
            EXPECT_EQ(test::ReadFile(j.ArchiveFile("EltronA-JOB42-00021.input.dat")), "OLD") << "row " << i;
            EXPECT_TRUE(test::FileExists(j.CompressFile("complog.err"))) << "row " << i;
        }
        EXPECT_TRUE(test::FileExists(j.CompressFile("input.dat"))) << "row " << i;
    }
}

TEST(MaxicodeCompressTest, UncompressedMessageArchive) {
    test::LogCapture log;
    CompressJob j("", false);
    CreateUncompressedDatFile(j.label, "MSG\x1D" "1");
    CreateUncompressedDatFile(j.label, "MSG\x1D" "2");
    EXPECT_EQ(test::ReadFile(j.ArchiveFile("EltronA-JOB42-00016.uncomp.dat")), "[ELTRON]\r\nMSG\x1D" "1\r\n");
    EXPECT_EQ(test::ReadFile(j.ArchiveFile("EltronA-JOB42-00017.uncomp.dat")), "[ELTRON]\r\nMSG\x1D" "2\r\n");
    EXPECT_EQ(platform::GetPrivateProfileInt("Uncomp counter", "EltronA", 0, j.CompressFile("input_dat.ini").c_str()),
              17u);
}

}  // namespace
}  // namespace zal
