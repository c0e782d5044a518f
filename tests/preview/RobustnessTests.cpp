// Any input renders without a crash: garbled streams, absurd numbers, cut-off commands.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace zal::preview;
using namespace zal::preview::test;
using namespace std::string_literals;

namespace {

void ExpectSane(const Rendered &rendered) {
    for (const Image &image : rendered.labels) {
        EXPECT_GT(image.width, 0);
        EXPECT_GT(image.height, 0);
        EXPECT_EQ(image.pixels.size(), size_t(image.width) * image.height);
    }
}

}  // namespace

TEST(PreviewRobustness, HostileCommands) {
    // clang-format off
    const std::string lines[] = {
        /*  0*/ "A0,0,0,1,1,1,N,\"unterminated",
        /*  1*/ "A-5000,-5000,3,5,9,9,R,\"far away\"",
        /*  2*/ "A10,10,7,1,1,1,N,\"bad rotation\"",
        /*  3*/ "A10,10,0,1,0,1,N,\"zero multiplier\"",
        /*  4*/ "A",
        /*  5*/ "B0,0,0,1,0,0,0,N,\"x\"",
        /*  6*/ "B0,0,0,1,100,300,1000000000,B,\"" + std::string(500, '9') + "\"",
        /*  7*/ "B0,0,0,1C,2,2,50,N,\"123\"F1F1F1F9\"",
        /*  8*/ "B0,0,0,1,2,2,50,N,\"\xCD\xCD\xCE\xC6\xC6\xC4\"",
        /*  9*/ "B0,0,0,K,2,6,50,N,\"\"",
        /* 10*/ "B0,0,0,1,2,2,50,N,",
        /* 11*/ "b0,0,M,m2,\"[)>\x1E" "01\x1D" "96\"",
        /* 12*/ "b0,0,M,m7,9,9,\"x\"",
        /* 13*/ "b0,0,M,\"" + std::string(400, 'A') + "\"",
        /* 14*/ "b0,0,P,800,800,s9,c1,f0,x2,y10,r99,l40,t1,o5,\"abc\"",
        /* 15*/ "b0,0,P,800,800,s5,x9,y99,l1,\"" + std::string(3000, 'z') + "\"",
        /* 16*/ "b0,0,D,h0,\"abc\"",
        /* 17*/ "b0,0,D,c7,r9,h3,\"" + std::string(4000, '1') + "\"",
        /* 18*/ "b0,0,Q,\"qr\"",
        /* 19*/ "LO1,2,3",
        /* 20*/ "LO-100,-100,1000000000,1000000000",
        /* 21*/ "LS0,0,1000000000,1000000000,1000000000",
        /* 22*/ "X0,0,1000000000,5,5",
        /* 23*/ "X10,10,-3,0,0",
        /* 24*/ "GW0,0,1000000,1000000,\x00\x01\x02"s,
        /* 25*/ "GW0,0,2,2,\xFF\x00\n\n"s,
        /* 26*/ "GW0,0,0,0,",
        /* 27*/ "Q99999999,24",
        /* 28*/ "q-5",
        /* 29*/ "R-2000000000,2000000000",
        /* 30*/ "I8,Z",
        /* 31*/ "A0,0,0,1,1,1,N,V00C1\"x\"V9",
        /* 32*/ "\x00\x01\x02\xFF"s,
    };
    // clang-format on
    for (size_t i = 0; i < std::size(lines); ++i) {
        auto rendered = RenderStream("N\n" + lines[i] + "\nP1\n");
        ExpectSane(rendered);
        // the graphic of line 24 takes the rest of the stream as its data, P1 too
        EXPECT_EQ(rendered.labels.size(), i == 24 ? 0u : 1u) << i;
    }
}

TEST(PreviewRobustness, ManyLabelsAreBounded) {
    std::string stream = "N\n";
    for (int i = 0; i < 300; ++i)
        stream += "P1\n";
    auto rendered = RenderStream(stream);
    EXPECT_EQ(rendered.labels.size(), 100u);
    EXPECT_EQ(rendered.warnings.size(), 200u);

    Options big;
    big.maxLabels = 1000;
    auto large = RenderStream("N\nq2436\nQ8120,0\n" + stream, big);
    EXPECT_LT(large.labels.size(), 300u);  // the pixel budget stops it first
}

TEST(PreviewRobustness, RandomAndMutatedStreams) {
    // pieces of real commands, cut and joined at random, with random bytes in between
    const std::string pieces[] = {
        "N\n",
        "P1\n",
        "Q1230,24\n",
        "q812\n",
        "R0,0\n",
        "ZT\n",
        "ZB\n",
        "A100,100,1,4,2,2,R,\"TEXT\"\n",
        "B030,0899,0,1C,3,7,155,N,F1\"42030328\"F1\"92055901\"\n",
        "B063,0899,0,3,3,8,155,B,\"1Z123\"\n",
        "b005,0294,M,m2,\"[)>\x1E"
        "01\x1D"
        "96303280000\x1D"
        "840\x1D"
        "001\x1D"
        "1Z\x1E\x04\"\n",
        "b020,495,P,800,800,s5,c1,f0,x2,y10,r99,l12,\"PDF\"\n",
        "b100,200,D,h6,\"DM\"\n",
        "LE015,210,780,4\n",
        "X015,010,4,218,213\n",
        "GW10,10,2,2,\x0F\xF0\x0F\xF0\n",
        "\"",
        ",",
        "\x1D",
        "\xCA",
        "\\",
    };
    std::mt19937 rng(2443);
    for (int round = 0; round < 400; ++round) {
        std::string stream;
        int parts = std::uniform_int_distribution<int>(1, 30)(rng);
        for (int p = 0; p < parts; ++p) {
            std::string piece = pieces[rng() % std::size(pieces)];
            switch (rng() % 4) {
                case 0: piece = piece.substr(0, rng() % (piece.size() + 1)); break;
                case 1:
                    if (!piece.empty())
                        piece[rng() % piece.size()] = char(rng());
                    break;
                case 2: piece += char(rng()); break;
                default: break;
            }
            stream += piece;
        }
        if (round % 5 == 0)  // pure noise
            for (int i = 0, n = int(rng() % 500); i < n; ++i)
                stream += char(rng());
        Options options;
        options.maxLabels = 5;
        ExpectSane(RenderStream(stream, options));
    }
}
