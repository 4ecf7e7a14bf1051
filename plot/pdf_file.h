// The pieces of a PDF file: numbers and texts as PDF writes them, streams packed with
// Deflate, and the file's numbered objects with their cross-reference table.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace plot {

// Appends `v` and a blank.
void pdfInteger(std::string& out, int64_t v);
// Appends `v` in plain decimal notation (PDF has no exponents), about seven significant
// digits, and a blank.
void pdfReal(std::string& out, double v);
// Appends `value` as `digits` hexadecimal digits.
void pdfHex(std::string& out, unsigned value, int digits);
// A text string: <FEFF...>, UTF-16.
std::string pdfText(const QString& text);
// `data` packed for /FlateDecode, fast rather than small.
std::string pdfDeflate(const std::string& data);

// The objects of a PDF file, written in any order once numbered.
class PdfFile {
public:
    PdfFile();
    int reserve();  // the next object number
    void object(int number, const std::string& body);
    // `entries`: the stream dictionary's own, each followed by a blank.
    void stream(int number, const std::string& data, const std::string& entries = {});
    void packedStream(int number, const std::string& packed, const std::string& entries = {});
    // The file, with the catalog `root` and the document information `info`.
    // REQUIRES: every reserved number written
    std::string finish(int root, int info);
    static std::string ref(int number);

private:
    std::string out_;
    std::vector<size_t> offsets_;
};

}  // namespace plot
