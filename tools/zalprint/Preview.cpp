// zalprint preview: an EPL2 stream rendered as PNG images (one per label).
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Commands.h"
#include "Preview.h"

namespace zalprint {

bool PreviewAvailable() { return true; }

int RenderPreview(const std::string &stream, const std::string &png, double width, double length, bool sizeGiven,
                  const std::string &pdf) {
    zal::preview::Options options;
    options.widthInches = width;
    options.lengthInches = length;
    options.sizeFromStream = !sizeGiven;
    options.warn = [](const std::string &line) { std::fprintf(stderr, "preview: %s\n", line.c_str()); };
    // Without a PDF, each label is written as soon as it is drawn and then
    // freed: a long stream needs the memory of one label.
    std::size_t written = 0;
    bool failed = false;
    auto write = [&](const zal::preview::Image &image) {
        std::string name = zal::preview::LabelFileName(png, written++);
        if (!zal::preview::WritePng(image, name)) {
            std::fprintf(stderr, "zalprint: cannot write %s\n", name.c_str());
            failed = true;
            return false;
        }
        std::printf("preview=%s %dx%d\n", name.c_str(), image.width, image.height);
        return true;
    };
    std::vector<zal::preview::Image> images;
    if (pdf.empty()) {
        options.onLabel = [&](zal::preview::Image &&image) { return write(image); };
        zal::preview::Render(stream, options);
    } else {
        images = zal::preview::Render(stream, options);
        for (const zal::preview::Image &image : images) {
            if (!write(image)) break;
        }
    }
    if (failed) return kExitFailed;
    if (written == 0) {
        std::fprintf(stderr, "zalprint: the stream holds no printed label (no P command)\n");
        return kExitFailed;
    }
    if (!pdf.empty() && !zal::preview::WritePdf(images, pdf)) {
        std::fprintf(stderr, "zalprint: cannot write %s\n", pdf.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int RunPreview(const Args &args) {
    std::string input, png, pdf;
    double width = 4.0, length = 6.0;
    bool sizeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if ((a == "-o" || a == "--output") && i + 1 < args.size()) {
            png = args[++i];
        } else if (a == "--pdf" && i + 1 < args.size()) {
            pdf = args[++i];
        } else if (a == "--size" && i + 1 < args.size()) {
            if (std::sscanf(args[++i].c_str(), "%lf,%lf", &width, &length) != 2 || width <= 0 || length <= 0) {
                std::fprintf(stderr, "zalprint: --size needs WIDTH,LENGTH in inches\n");
                return kExitUsage;
            }
            sizeGiven = true;
        } else if (a == "--help" || a == "-h") {
            std::printf("Usage: zalprint preview FILE.epl -o label.png [--size W,L] [--pdf labels.pdf]\n");
            return kExitOk;
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "zalprint: unknown option %s (try zalprint preview --help)\n", a.c_str());
            return kExitUsage;
        } else {
            input = a;
        }
    }
    if (input.empty() || png.empty()) {
        std::fprintf(stderr, "zalprint: preview needs FILE.epl and -o label.png\n");
        return kExitUsage;
    }
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zalprint: file not found: %s\n", input.c_str());
        return kExitUsage;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return RenderPreview(content.str(), png, width, length, sizeGiven, pdf);
}

}  // namespace zalprint
