#include "Preview.h"

#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zal::preview {

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", value);
    return text;
}

// The label as a 1-bit image (PDF's DeviceGray: 0 black), deflated.
std::string PageImage(const Image &image) {
    size_t rowBytes = (size_t(image.width) + 7) / 8;
    std::vector<unsigned char> bits(rowBytes * image.height, 0xFF);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[size_t(y) * image.width + x])
                bits[y * rowBytes + x / 8] &= static_cast<unsigned char>(~(0x80 >> (x % 8)));
    uLongf size = compressBound(uLong(bits.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef *>(packed.data()), &size, bits.data(), uLong(bits.size()), 9) != Z_OK)
        return {};
    packed.resize(size);
    return packed;
}

}  // namespace

bool WritePdf(const std::vector<Image> &images, const std::string &path) {
    if (images.empty())
        return false;
    std::vector<std::string> objects;  // 1 catalog, 2 page tree, then page, content and image of each label
    std::string kids;
    for (size_t i = 0; i < images.size(); ++i) {
        const Image &image = images[i];
        if (image.width <= 0 || image.height <= 0 || image.pixels.size() != size_t(image.width) * image.height)
            return false;
        size_t page = 3 + i * 3, content = page + 1, xobject = page + 2;
        double w = image.width * 72.0 / kDotsPerInch, h = image.height * 72.0 / kDotsPerInch;
        std::string draw = "q " + Number(w) + " 0 0 " + Number(h) + " 0 0 cm /L Do Q";
        std::string bits = PageImage(image);
        if (bits.empty())
            return false;
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(w) + " " + Number(h) +
                          "] /Resources << /XObject << /L " + std::to_string(xobject) + " 0 R >> >> /Contents " +
                          std::to_string(content) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(draw.size()) + " >>\nstream\n" + draw + "\nendstream");
        objects.push_back("<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
                          std::to_string(image.height) +
                          " /ColorSpace /DeviceGray /BitsPerComponent 1 /Filter /FlateDecode /Length " +
                          std::to_string(bits.size()) + " >>\nstream\n" + bits + "\nendstream");
        kids += std::to_string(page) + " 0 R ";
    }
    objects.insert(objects.begin(),
                   "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(images.size()) + " >>");
    objects.insert(objects.begin(), "<< /Type /Catalog /Pages 2 0 R >>");

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof(entry), "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";

    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(pdf.data(), 1, pdf.size(), file) == pdf.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace zal::preview
