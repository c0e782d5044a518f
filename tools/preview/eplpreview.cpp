// eplpreview FILE.epl -o label.png [--size W,L] [--pdf labels.pdf]
// Renders every label of an EPL2 stream: label.png, label-2.png, ...

#include "Preview.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char **argv) {
    using namespace zal::preview;
    std::string input, output, pdf;
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "--pdf" && i + 1 < argc) {
            pdf = argv[++i];
        } else if (arg == "--size" && i + 1 < argc) {
            double w = 0, l = 0;
            char comma = 0;
            std::istringstream size(argv[++i]);
            if (!(size >> w >> comma >> l) || comma != ',' || w <= 0 || l <= 0) {
                std::cerr << "eplpreview: --size wants W,L in inches\n";
                return 2;
            }
            options.widthInches = w;
            options.lengthInches = l;
            options.sizeFromStream = false;
        } else if (input.empty() && arg[0] != '-') {
            input = arg;
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty() || (output.empty() && pdf.empty())) {
        std::cerr << "usage: eplpreview FILE.epl -o label.png [--size W,L] [--pdf labels.pdf]\n";
        return 2;
    }
    std::ifstream file(input, std::ios::binary);
    if (!file) {
        std::cerr << "eplpreview: cannot read " << input << "\n";
        return 1;
    }
    std::string stream((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    options.warn = [&](const std::string &message) { std::cerr << "eplpreview: " << input << ": " << message << "\n"; };

    auto labels = Render(stream, options);
    if (labels.empty()) {
        std::cerr << "eplpreview: " << input << ": no label printed (no P command)\n";
        return 1;
    }
    for (size_t i = 0; !output.empty() && i < labels.size(); ++i) {
        std::string name = LabelFileName(output, i);
        if (!WritePng(labels[i], name)) {
            std::cerr << "eplpreview: cannot write " << name << "\n";
            return 1;
        }
        std::cout << name << " (" << labels[i].width << " x " << labels[i].height << " dots)\n";
    }
    if (!pdf.empty()) {
        if (!WritePdf(labels, pdf)) {
            std::cerr << "eplpreview: cannot write " << pdf << "\n";
            return 1;
        }
        std::cout << pdf << "\n";
    }
    return 0;
}
