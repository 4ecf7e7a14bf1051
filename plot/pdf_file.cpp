#include "plot/pdf_file.h"

#include <libdeflate.h>

#include <charconv>
#include <cmath>
#include <memory>

namespace plot {
namespace {

constexpr double kLargest = 1e9;  // reals beyond are clamped
constexpr int kCompression = 1;   // the fastest: plots are large, and mostly numbers

}  // namespace

void pdfInteger(std::string& out, int64_t v) {
    char buf[24];
    char* p = buf + sizeof buf;
    *--p = ' ';
    uint64_t u = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) *--p = '-';
    out.append(p, static_cast<size_t>(buf + sizeof buf - p));
}

void pdfReal(std::string& out, double v) {
    if (!std::isfinite(v) || std::abs(v) < 1e-9) v = 0;
    v = std::clamp(v, -kLargest, kLargest);
    int magnitude = 0;  // floor(log10(|v|)), found by counting: most values are near 1
    for (double a = std::abs(v); a >= 10 && magnitude < 9; a /= 10) ++magnitude;
    for (double a = std::abs(v); a != 0 && a < 1 && magnitude > -9; a *= 10) --magnitude;
    const int decimals = std::clamp(6 - magnitude, 0, 9);
    char buf[48];
    char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    out.append(buf, end);
    out += ' ';
}

void pdfHex(std::string& out, unsigned value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 15];
}

std::string pdfText(const QString& text) {
    std::string out = "<FEFF";
    for (QChar c : text) pdfHex(out, c.unicode(), 4);
    return out + ">";
}

std::string pdfDeflate(const std::string& data) {
    thread_local std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> packer(
        libdeflate_alloc_compressor(kCompression), libdeflate_free_compressor);
    std::string packed(libdeflate_zlib_compress_bound(packer.get(), data.size()), '\0');
    packed.resize(libdeflate_zlib_compress(packer.get(), data.data(), data.size(), packed.data(),
                                           packed.size()));
    return packed;
}

PdfFile::PdfFile() { out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"; }

int PdfFile::reserve() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size());
}

void PdfFile::object(int number, const std::string& body) {
    offsets_[number - 1] = out_.size();
    out_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
}

void PdfFile::stream(int number, const std::string& data, const std::string& entries) {
    packedStream(number, pdfDeflate(data), entries);
}

void PdfFile::packedStream(int number, const std::string& packed, const std::string& entries) {
    offsets_[number - 1] = out_.size();
    out_ += std::to_string(number) + " 0 obj\n<< " + entries + "/Length " +
            std::to_string(packed.size()) + " /Filter /FlateDecode >>\nstream\n";
    out_ += packed;
    out_ += "\nendstream\nendobj\n";
}

std::string PdfFile::finish(int root, int info) {
    const size_t xref = out_.size();
    out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (size_t offset : offsets_) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        out_ += entry;
    }
    out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " + ref(root) +
            " /Info " + ref(info) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return std::move(out_);
}

std::string PdfFile::ref(int number) { return std::to_string(number) + " 0 R"; }

}  // namespace plot
