#include "documents/RawZALDoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Heap.h"
#include "common/Seams.h"
#include "documents/DocumentTestSupport.h"
#include "documents/EPLDoc.h"

namespace zal::ZalLib {
namespace {

using test::MakeFormat;
using test::MakeMedia;
using zal::test::FixedSeams;
using zal::test::TempDir;

TEST(RawZALDoc, EnsureSpaceGrowth) {
    // appends: lengths appended in turn
    // size: _SourceSize afterwards
    struct Row { std::vector<std::size_t> appends; uint32_t size; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {{5000},        6025},  // 1024 + 5001 in one step
        /*  1*/ {{10, 10},      2048},  // every append wants 1024 free bytes
        /*  2*/ {{1023},        1024},
        /*  3*/ {{2000, 3000},  6026},  // 1024 + 2001, then + 3001
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EPLDoc doc;
        std::string expected;
        for (std::size_t length : rows[i].appends) {
            std::string piece(length, static_cast<char>('a' + expected.size() % 26));
            EXPECT_TRUE(doc.AppendRawText(piece.c_str())) << "row " << i;
            expected += piece;
        }
        EXPECT_EQ(doc._SourceSize, rows[i].size) << "row " << i;
        EXPECT_EQ(doc._SourceCount, expected.size()) << "row " << i;
        EXPECT_EQ(std::string(doc._Source), expected) << "row " << i;
    }
}

TEST(RawZALDoc, ResetReleasesAndNextAppendAllocates) {
    EPLDoc doc;
    doc.Initialized = true;
    ASSERT_TRUE(doc.AppendRawText("abc"));
    doc.Reset();
    EXPECT_EQ(doc._Source, nullptr);
    EXPECT_EQ(doc._SourceSize + doc._SourceCount, 0u);
    EXPECT_FALSE(doc.Initialized);
    doc.Reset();  // a second release finds nothing to free
    ASSERT_TRUE(doc.AppendRawText("xy"));
    EXPECT_STREQ(doc._Source, "xy");
    EXPECT_EQ(doc._SourceSize, 1024u);
}

TEST(RawZALDoc, AllocationFailuresKeepTheText) {
    zal::test::LogCapture log;
    log.Unwrap();
    {
        FailNextHeapAllocations(1);
        EPLDoc doc;  // constructor allocation fails
        EXPECT_EQ(doc._SourceSize, 0u);
        EXPECT_TRUE(doc.AppendRawText("late"));
        EXPECT_STREQ(doc._Source, "late");
    }
    EPLDoc doc;
    ASSERT_TRUE(doc.AppendRawText("keep"));
    FailNextHeapAllocations(1);
    EXPECT_FALSE(doc.AppendRawText(std::string(2000, 'z').c_str()));
    EXPECT_STREQ(doc._Source, "keep");
    EXPECT_EQ(doc._SourceCount, 4u);
    EXPECT_EQ(doc._SourceSize, 1024u);
    EXPECT_FALSE(doc.AppendRawText(nullptr));
    // a request near 4 GiB fails instead of wrapping to a small one
    EXPECT_FALSE(doc.EnsureSpace(UINT32_MAX));
    EXPECT_EQ(doc._SourceSize, 1024u);
}

TEST(RawZALDoc, GetMediaDims) {
    struct Row {
        float width, length;
        bool docutab;
        int dpi;
        int16_t hMargin, vMargin;
        bool result;
        // Left, Top, Right, Bottom, Width, Height, MediaWidth, MediaLength, DocutabStart, DocutabHeight
        int16_t dims[10];
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {4.0f, 6.0f,  false, 203,  6, 0, true,  {3, 0, 807, 1219, 804, 1219,  813, 1219,    0,   0}},
        /*  1*/ {4.0f, 6.75f, true,  203,  6, 0, true,  {3, 0, 807, 1215, 804, 1215,  813, 1372, 1220, 152}},
        /*  2*/ {4.0f, 6.0f,  false, 300,  0, 0, true,  {0, 0,1199, 1798,1199, 1798, 1199, 1798,    0,   0}},
        /*  3*/ {4.0f, 2.0f,  false, 203,  0, 0, true,  {0, 0, 813,  600, 813,  600,  813,  406,    0,   0}},
        /*  4*/ {4.0f, 6.0f,  false, 203,  7, 0, true,  {4, 0, 805, 1219, 801, 1219,  813, 1219,    0,   0}},
        /*  5*/ {4.0f, 6.0f,  false, 203, -6, 0, true,  {0, 0, 813, 1219, 813, 1219,  813, 1219,    0,   0}},
        /*  6*/ {4.0f, 6.0f,  false, 203,  6, 5, true,  {3, 3, 807, 1213, 804, 1210,  813, 1219,    0,   0}},
        /*  7*/ {4.0f, 6.0f,  false, 608,  0, 0, true,  {0, 0,2438, 3658,2438, 3658, 2438, 3658,    0,   0}},
        /*  8*/ {4.0f, 6.0f,  false, 200,  6, 0, false, {3, 0, 597,  600, 594,  600,  600,  600,    0,   0}},
        /*  9*/ {4.0f, 3.5f,  true,  203,  0, 0, true,  {0, 0, 813,  600, 813,  600,  813,  711,  559, 152}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        DocumentMedia media = MakeMedia(r.width, r.length, r.docutab);
        MediaDims d{};
        d.DocutabGap = 5;
        EXPECT_EQ(RawZALDoc::GetMediaDims(&media, r.dpi, r.hMargin, r.vMargin, &d), r.result) << "row " << i;
        const int16_t got[10] = {d.Left,       d.Top,        d.Right,        d.Bottom,       d.Width,
                                 d.Height,     d.MediaWidth, d.MediaLength, d.DocutabStart, d.DocutabHeight};
        for (int k = 0; k < 10; ++k) EXPECT_EQ(got[k], r.dims[k]) << "row " << i << " value " << k;
        EXPECT_EQ(d.Docutab, r.docutab && r.result) << "row " << i;
    }
}

TEST(RawZALDoc, GetMediaDimsRefusals) {
    DocumentMedia media = MakeMedia(4.0f, 6.75f, true);
    EXPECT_FALSE(RawZALDoc::GetMediaDims(&media, 203, 6, 0, nullptr));
    MediaDims untouched{};
    EXPECT_FALSE(RawZALDoc::GetMediaDims(nullptr, 203, 8, 2, &untouched));
    EXPECT_EQ(untouched.Left + untouched.Top + untouched.MediaWidth, 4 + 1 + 0);
}

TEST(RawZALDoc, ValidateCoords) {
    struct Row { bool docutab; int x, y; bool result; int outX, outY; };
    // 4 x 6 with margins 6 and 2: Left 3, Top 1, Width 804, Height 1217 - 1;
    // 4 x 6.75 with docutab: the strip ends at 1218 + 152 = 1370.
    // clang-format off
    const Row rows[] = {
        /*  0*/ {false,  10,   20, true,    13,   21},
        /*  1*/ {false, 804,   20, true,   807,   21},
        /*  2*/ {false, 805,   20, false,  805,   20},
        /*  3*/ {false,  10, 1216, true,    13, 1217},
        /*  4*/ {false,  10, 1217, false,   10, 1217},
        /*  5*/ {false,  -5,   -5, true,    -2,   -4},
        /*  6*/ {true,   10, 1370, true,    13, 1371},
        /*  7*/ {true,   10, 1371, false,   10, 1371},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        EPLDoc doc;
        LabelFormat format = MakeFormat(MakeMedia(4.0f, r.docutab ? 6.75f : 6.0f, r.docutab));
        format.VerticalMargin = 2;
        ASSERT_TRUE(doc.InitDoc(&format));
        int x = r.x;
        int y = r.y;
        EXPECT_EQ(doc.ValidateCoords(x, y), r.result) << "row " << i;
        EXPECT_EQ(x, r.outX) << "row " << i;
        EXPECT_EQ(y, r.outY) << "row " << i;
    }
}

TEST(RawZALDoc, ValidateCoordsRefusesBeforeInit) {
    EPLDoc doc;
    int x = 10, y = 20;
    EXPECT_FALSE(doc.ValidateCoords(x, y));
    EXPECT_EQ(x * 100 + y, 1020);
}

// The document's own copy has a comment header, the plain copy none; both
// replace what the file held.  An empty document touches no file; a file
// that cannot be opened is tried three times.
TEST(RawZALDoc, SaveToFile) {
    FixedSeams seams;
    TempDir dir;
    const std::string path = dir.file("label.txt");
    EPLDoc empty;
    EXPECT_TRUE(empty.SaveToFile(path.c_str()));
    EXPECT_FALSE(zal::test::FileExists(path));
    zal::test::WriteFile(path, "old content that must go\n");
    EXPECT_TRUE(empty.RawZALDoc::SaveToFile(path.c_str()));
    EXPECT_EQ(zal::test::ReadFile(path), "old content that must go\n");
    EPLDoc doc;
    ASSERT_TRUE(doc.AppendRawText("N\nP1\n"));
    EXPECT_TRUE(doc.RawZALDoc::SaveToFile(path.c_str()));
    EXPECT_EQ(zal::test::ReadLines(path), (std::vector<std::string>{"N", "P1"}));
    EXPECT_TRUE(doc.SaveToFile(path.c_str()));
    const std::vector<std::string> expected = {";*************************", "; Label Name : Untitled",
                                               "; Generated  : 12/06/26 12:34:56", ";*************************", "N",
                                               "P1"};
    EXPECT_EQ(zal::test::ReadLines(path), expected);
    EXPECT_FALSE(doc.SaveToFile(dir.file("missing-folder/label.txt").c_str()));
    EXPECT_EQ(FixedSeams::Sleeps(), (std::vector<uint32_t>{100, 100, 100}));
    EXPECT_FALSE(doc.SaveToFile(nullptr));
}

// Every tick read moves the clock on by 7 ms: the transfer takes 7 ms.
uint64_t SteppingTicks() { return FixedSeams::Ticks() += 7; }

// The text is printed (or discarded), timed, and kept: it may be printed
// or saved again.
TEST(RawZALDocPrint, ResultCodesAndBytes) {
    // file: under the temporary folder, null: none; reset: the document released first
    struct Row { bool discard; const char *file; bool reset; int32_t code; const char *written; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {false, "out.prn",      false, 0,    "N\nP1\n"},
        /*  1*/ {false, "none/out.prn", false, -301, nullptr},
        /*  2*/ {true,  nullptr,        false, 0,    nullptr},
        /*  3*/ {true,  nullptr,        true,  0,    nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        FixedSeams seams;
        seams::Current().tickCount = SteppingTicks;
        TempDir dir;
        auto context = std::make_unique<JobContext>();
        *context = JobContext{};
        CopyText(context->PortText, r.discard ? "NUL" : "FILE");
        if (r.discard) context->PortType = kPortTypeDiscard;
        std::string path = r.file ? dir.file(r.file) : std::string();
        CopyText(context->OutputFile, path.c_str());

        EPLDoc doc;
        ASSERT_TRUE(doc.AppendRawText("N\nP1\n"));
        if (r.reset) doc.Reset();
        EXPECT_EQ(doc.Print(context.get()), r.code) << "row " << i;
        EXPECT_FALSE(doc.TimerRunning) << "row " << i;
        EXPECT_EQ(doc.EndTicks - doc.StartTicks, 7u) << "row " << i;
        if (r.written) {
            EXPECT_EQ(zal::test::ReadFile(path), r.written) << "row " << i;
        }
        EXPECT_STREQ(doc._Source, r.reset ? nullptr : "N\nP1\n") << "row " << i;
    }
}

}  // namespace
}  // namespace zal::ZalLib
