#include "layouts/engine/Frame.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "common/Heap.h"
#include "common/Log.h"
#include "documents/DocumentTestSupport.h"
#include "support/LabelFixture.h"

namespace zal::layout {
namespace {

struct Person {
    char Name[32];
    char City[32];
    char Blank[8];
};
struct Switch {
    bool on;
};
using R = Records<Person, Switch>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

const Person kPerson = {"JO \"JJ\" DOE", "30328", "   "};

bool On(const R &r) { return r.Of<Switch>().on; }
bool Off(const R &r) { return !On(r); }
void Stamp(Canvas &canvas, const R &r) { DrawText(canvas, 50, 60, "1,1,1", r.Of<Person>().Name); }

constexpr ZalLib::BarcodeDescriptor kQuoted = {"1", 3, 3, 145, 1, 0};
constexpr ZalLib::BarcodeDescriptor kReadable = {"1A", 3, 9, 102, 0, 1};
constexpr ZalLib::MaxicodeDescriptor kMaxi = {"m2", 0, 0, 0};
constexpr ZalLib::Pdf417Descriptor kPdf = {0, 400, 300, 5, 1, 0, 2, 6, 0, 0};
constexpr ZalLib::DataMatrixDescriptor kMatrix = {4};

// The records of a label without job: a view of no file, a zeroed device.
struct Context {
    JobFile none{nullptr};
    JobContext device{};
    LabelContext label{none, device};
};

// What a table draws after the header: on a 4 x 6 inch document with side
// margins of 3 dots (Left 3, Right 807, Width 804), and on the string-built
// label (812 by 1218 dots, no margins).
std::string InDocument(const Element<R> *elements, std::size_t count, const R &records) {
    ZalLib::EPLDoc doc;
    ZalLib::LabelFormat format = ZalLib::test::MakeFormat();
    EXPECT_TRUE(doc.InitDoc(&format));
    std::size_t header = doc._SourceCount;
    DocumentCanvas canvas(doc);
    Draw(canvas, elements, count, records);
    return std::string(doc._Source + header);
}
std::string InLegacy(const Element<R> *elements, std::size_t count, const R &records) {
    auto doc = std::make_unique<ZalLib::LegacyDoc>();
    doc->Begin(ZalLib::MemoryCommand::M132, ZalLib::HeaderForm::A, false, "0", "0");
    std::size_t header = doc->Length();
    LegacyCanvas canvas(*doc);
    Draw(canvas, elements, count, records);
    return std::string(doc->Data() + header);
}

// The quote rule (a field's double quote prints as an apostrophe in an A
// command; constants and bar code data stay) and each frame's numbers.
TEST(FrameTest, ElementsInBothFrames) {
    struct Row { Element<R> element; const char *document, *legacy; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {Text<R>(10, 20, "2,1,1", F<&Person::Name>),
                 "A013,0020,0,2,1,1,N,\"JO 'JJ' DOE\"\n", "A010,020,0,2,1,1,N,\"JO 'JJ' DOE\"\n"},
        /*  1*/ {Text<R>(355, 245, "2,2,2", "TO \"", F<&Person::Name>, " ", F<&Person::City>).Rotated(1),
                 "A358,0245,1,2,2,2,N,\"TO \"JO 'JJ' DOE 30328\"\n", "A355,245,1,2,2,2,N,\"TO \"JO 'JJ' DOE 30328\"\n"},
        /*  2*/ {Text<R>(10, 20, "2,1,1", "X").Flag(kPadY4).XDigits(4),
                 "A013,0020,0,2,1,1,N,\"X\"\n", "A0010,0020,0,2,1,1,N,\"X\"\n"},
        // a blank text is skipped by the document and written by the string-built label
        /*  3*/ {Text<R>(10, 20, "2,1,1", F<&Person::Blank>), "", "A010,020,0,2,1,1,N,\"   \"\n"},
        /*  4*/ {Text<R>(290, 850, "1,1,1", "V").Flag(kFromRight),
                 "A520,0850,0,1,1,1,N,\"V\"\n", "A522,850,0,1,1,1,N,\"V\"\n"},
        // aligned text: centred on the area by 34 dots per character, ending at x, never below 1
        /*  5*/ {AlignedText<R>(Align::Centre, 0, 650, "3,2,3", 34, F<&Person::Name>).Flag(kAreaCentre),
                 "A221,0650,0,3,2,3,N,\"JO 'JJ' DOE\"\n", "A219,650,0,3,2,3,N,\"JO 'JJ' DOE\"\n"},
        /*  6*/ {AlignedText<R>(Align::Centre, 300, 10, "1,1,1", 9, "ABC"),
                 "A290,0010,0,1,1,1,N,\"ABC\"\n", "A287,010,0,1,1,1,N,\"ABC\"\n"},
        /*  7*/ {AlignedText<R>(Align::Right, 792, 20, "4,1,1", 14, "ABCD"),
                 "A739,0020,0,4,1,1,N,\"ABCD\"\n", "A736,020,0,4,1,1,N,\"ABCD\"\n"},
        /*  8*/ {AlignedText<R>(Align::Right, 10, 20, "4,1,1", 14, "ABCD"),
                 "A004,0020,0,4,1,1,N,\"ABCD\"\n", "A001,020,0,4,1,1,N,\"ABCD\"\n"},
        // lines and boxes: no margin shift; widths unpadded in the string-built label
        /*  9*/ {Line<R>(0, 275, 232, 3),                     "LO000,0275,232,003\n", "LO000,275,232,3\n"},
        /* 10*/ {XorLine<R>(75, 327, 75, 72).Flag(kFromRight), "LE732,0327,075,072\n", "LE737,327,75,72\n"},
        /* 11*/ {Line<R>(0, 515, 0, 3).Flag(kFullWidth),      "LO000,0515,804,003\n", "LO000,515,812,3\n"},
        /* 12*/ {Line<R>(232, 323, 0, 3).Flag(kToRightEdge),  "LO232,0323,575,003\n", "LO232,323,580,3\n"},
        /* 13*/ {Box<R>(380, 10, 380, 75, 2),                 "X380,0010,002,760,0085\n", "X380,010,2,760,85\n"},
        /* 14*/ {Box<R>(5, 5, 8, 1200, 2).Flag(kPadY4),        "X005,0005,002,013,1205\n", "X005,0005,2,013,1205\n"},
        // bar code data as it stands
        /* 15*/ {Barcode<R>(95, 599, kQuoted, F<&Person::Name>),
                 "B095,0599,0,1,3,3,145,N,\"JO \"JJ\" DOE\"\n", "B095,599,0,1,3,3,145,N,\"JO \"JJ\" DOE\"\n"},
        /* 16*/ {Barcode<R>(305, 365, kReadable, "420", F<&Person::City>),
                 "B305,0365,0,1A,3,9,102,Y,42030328\n", "B305,365,0,1A,3,9,102,Y,42030328\n"},
        /* 17*/ {Maxicode<R>(294, kMaxi, F<&Person::Name>),
                 "b005,0294,M,m2,\"JO \"JJ\" DOE\"\n", "b005,294,M,m2,\"JO \"JJ\" DOE\"\n"},
        /* 18*/ {Pdf417<R>(10, 20, kPdf, "P\"DF"),
                 "b010,0020,P,400,300,s5,c1,f0,x2,y6,r0,l0,\"P\"DF\"\n", "b010,020,P,400,300,s5,c1,f0,x2,y6,r0,l0,\"P\"DF\"\n"},
        /* 19*/ {DataMatrix<R>(10, 20, kMatrix, "ABC"), "b010,0020,D,h4,\"ABC\"\n", "b010,020,D,h4,\"ABC\"\n"},
    };
    // clang-format on
    Context context;
    const Switch on = {true};
    const R records(context.label, "Test", kPerson, on);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(InDocument(&rows[i].element, 1, records), rows[i].document) << "row " << i;
        EXPECT_EQ(InLegacy(&rows[i].element, 1, records), rows[i].legacy) << "row " << i;
    }
}

// clang-format off
constexpr Element<R> kInner[] = {
    Text<R>(1, 1, "1,1,1", "IN1"),
    Text<R>(1, 2, "1,1,1", "IN2").When(Off),
};
constexpr Element<R> kBody[] = {
    Text<R>(1, 10, "1,1,1", "ON").When(On),
    Text<R>(1, 11, "1,1,1", "OFF").When(Off),
    Include(kInner),
    Include(kInner).When(Off),
    Call<R>(Stamp),
};
// clang-format on

TEST(FrameTest, ConditionsIncludesAndComputedElements) {
    const std::string in1 = "A001,001,0,1,1,1,N,\"IN1\"\n", in2 = "A001,002,0,1,1,1,N,\"IN2\"\n";
    const std::string stamp = "A050,060,0,1,1,1,N,\"JO 'JJ' DOE\"\n";
    const struct { bool on; std::string legacy; } rows[] = {
        /*  0*/ {true, "A001,010,0,1,1,1,N,\"ON\"\n" + in1 + stamp},
        /*  1*/ {false, "A001,011,0,1,1,1,N,\"OFF\"\n" + in1 + in2 + in1 + in2 + stamp},
    };
    Context context;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Switch value = {rows[i].on};
        EXPECT_EQ(InLegacy(kBody, std::size(kBody), R(context.label, "Test", kPerson, value)), rows[i].legacy)
            << "row " << i;
    }
}

constexpr Element<R> kName[] = {Text<R>(10, 15, "2,1,1", F<&Person::Name>)};

// The string-built frame: memory command, header form and offsets, the
// user commands as they stand (a line feed added), the version line.
TEST(FrameTest, StringBuiltFrame) {
    using ZalLib::HeaderForm;
    using ZalLib::MemoryCommand;
    const std::string name = "A010,015,0,2,1,1,N,\"JO 'JJ' DOE\"\n";
    const std::string headerA = "N\nQ1230,24\nR0,0\nZB\n";
    struct Row { LegacyFrame frame; bool prefix; const char *h, *v, *before, *after; std::string expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {{MemoryCommand::M132, HeaderForm::A, nullptr}, false, "0", "0", "", "", headerA + name + "P1\n"},
        /*  1*/ {{MemoryCommand::M132, HeaderForm::A, nullptr}, true, "12", "-8", "", "",
                 "M132,5,5\nN\nQ1230,24\nR12,-8\nZB\n" + name + "P1\n"},
        /*  2*/ {{MemoryCommand::M156, HeaderForm::B, nullptr}, true, "0", "0", "", "",
                 "M156,5,5\nN\nQ1230,24\nR0,0\n\n\nZB\n" + name + "P1\n"},
        /*  3*/ {{MemoryCommand::M160, HeaderForm::B, nullptr}, false, "0", "0", "", "", "N\nQ1230,24\nR0,0\n\n\nZB\n" + name + "P1\n"},
        /*  4*/ {{MemoryCommand::M132, HeaderForm::A, nullptr}, false, "0", "0", "A1,1,0,1,1,1,N,\"U\"", "S2\r\n",
                 headerA + "A1,1,0,1,1,1,N,\"U\"\n" + name + "S2\r\nP1\n"},
        /*  5*/ {{MemoryCommand::M132, HeaderForm::A, "05/14"}, false, "0", "0", "", "",
                 headerA + name + "A0550,1202,0,1,1,1,N,\"OV v1 Duzed 05/14\"\nP1\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LabelJob job("");
        job.label.headerPrefix = row.prefix;
        CopyText(job.label.options.horizontalOffset, row.h);
        CopyText(job.label.options.verticalOffset, row.v);
        CopyText(job.label.versionLine, "A0550,1202,0,1,1,1,N,\"OV v1 Duzed ");
        const Switch on = {true};
        const R records(job.label, "Test", kPerson, on);
        EXPECT_EQ(PrintLegacy(row.frame, job.label, row.before, row.after,
                              [&](Canvas &canvas) { Draw(canvas, kName, records); }),
                  ZALERR_SUCCESS)
            << "row " << i;
        EXPECT_EQ(job.Sent(), row.expected) << "row " << i;
    }
}

// The document frame: header, user commands as they stand, body, "P1", the
// saved copy when the log flags ask for one; its faults.
TEST(FrameTest, DocumentFrame) {
    const DocumentFrame frame = {"Test Label", "%s%s.%s.txt", "Module", "TestPrint", ZALERR_ZALDOCERR, false};
    const std::string header = "M132,5,5\nZB\nR0,0\nS4\nD7\nN\n";
    const std::string body = "A013,0015,0,2,1,1,N,\"JO 'JJ' DOE\"\n";
    enum Fault { None, NoMemory, Throws };
    struct Row { Fault fault; bool save; int32_t result; std::string sent; const char *error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {None,     true,  0, header + "ZT\"\n" + body + "D12\nP1\n", nullptr},
        /*  1*/ {None,     false, 0, header + "ZT\"\n" + body + "D12\nP1\n", nullptr},
        /*  2*/ {NoMemory, true,  ZALERR_ZALDOCERR, "", "TestPrint: The label header could not be written."},
        /*  3*/ {Throws,   true,  ZALERR_LABEL_GENERATIONERR, "",
                 "(Exception in Module at TestPrint) [std::runtime_error] no ink"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        log::SetJobTag("J1");
        test::LabelJob job("");
        job.label.copies.save = row.save;
        job.label.copies.folder = log.dir().path() + test::Separator();
        const Switch on = {true};
        const R records(job.label, frame.name, kPerson, on);
        if (row.fault == NoMemory) FailNextHeapAllocations(1000000);
        int32_t result = PrintDocument(frame, job.label, "ZT\"", "D12", [&](Canvas &canvas) {
            if (row.fault == Throws) throw std::runtime_error("no ink");
            Draw(canvas, kName, records);
        });
        FailNextHeapAllocations(0);
        log::SetJobTag(" ");
        EXPECT_EQ(result, row.result) << "row " << i;
        EXPECT_EQ(job.Sent(), row.sent) << "row " << i;
        const std::string copy = log.dir().file("J1.Test Label.txt");
        if (row.save && row.result == 0) {
            test::ExpectSavedCopy(copy, "Test Label", row.sent);
        } else {
            EXPECT_FALSE(test::FileExists(copy)) << "row " << i;
        }
        if (row.error != nullptr) {
            EXPECT_TRUE(log.Logged(row.error)) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace zal::layout
