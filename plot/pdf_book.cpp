// Binding plots: each PDF this plotter wrote is read back by its cross-reference table
// (objects in order, a catalog, a page tree of one page, an information dictionary);
// its objects but those three are copied with their numbers moved past the book's, the
// page hung under the book's page tree, and a bookmark made for it.
#include "plot/pdf_book.h"

#include <QString>
#include <charconv>
#include <regex>

#include "drawing/file.h"
#include "plot/pdf_file.h"

namespace plot {
namespace {

namespace reason = drawing::reason;
constexpr const char* kNotOurs = "不是本程序打印的PDF文件";

// A positive number at `at` of `text`, 0 when there is none.
size_t numberAt(const std::string& text, size_t at) {
    size_t v = 0;
    if (at >= text.size()) return 0;
    std::from_chars(text.data() + at, text.data() + text.size(), v);
    return v;
}

// The number of the object that `key` refers to in `dict` ("/Key N 0 R"), 0 when none.
size_t refOf(const std::string& dict, const std::string& key) {
    const size_t at = dict.find(key + " ");
    return at == std::string::npos ? 0 : numberAt(dict, at + key.size() + 1);
}

struct Plot {
    std::vector<std::string> objects;  // by number - 1: the text between "obj\n" and "\nendobj"
    size_t catalog = 0, pages = 0, page = 0, info = 0;
};

bool read(const std::string& bytes, Plot& plot) {
    const size_t start = bytes.rfind("startxref\n");
    if (start == std::string::npos) return false;
    const size_t xref = numberAt(bytes, start + 10);
    if (bytes.compare(xref, 7, "xref\n0 ") != 0) return false;
    const size_t count = numberAt(bytes, xref + 7);
    if (count > bytes.size() / 20) return false;  // more entries than the file could hold
    const size_t table = bytes.find('\n', xref + 7) + 1 + 20;  // past object 0's entry
    if (count < 2 || table + 20 * (count - 1) > bytes.size()) return false;
    for (size_t k = 1; k < count; ++k) {
        const size_t at = numberAt(bytes, table + 20 * (k - 1));
        const std::string head = std::to_string(k) + " 0 obj\n";
        if (at >= xref || bytes.compare(at, head.size(), head) != 0) return false;
        const size_t body = at + head.size();
        // A stream holds any bytes: its length says where it ends.
        const size_t dictEnd = bytes.find(">>", body);
        const size_t end = bytes.find("\nendobj\n", body);
        if (dictEnd == std::string::npos || end == std::string::npos) return false;
        size_t stop = end;
        if (bytes.compare(dictEnd, 10, ">>\nstream\n") == 0) {
            const size_t length = refOf(bytes.substr(body, dictEnd - body), "/Length");
            const size_t data = dictEnd + 10;
            stop = data + length + 10;  // "\nendstream"
            if (data + length > xref || bytes.compare(data + length, 11, "\nendstream\n") != 0)
                return false;
        }
        plot.objects.push_back(bytes.substr(body, stop - body));
    }
    const std::string trailer = bytes.substr(start > 200 ? start - 200 : 0);
    plot.catalog = refOf(trailer, "/Root");
    plot.info = refOf(trailer, "/Info");
    if (plot.catalog == 0 || plot.catalog >= count) return false;
    plot.pages = refOf(plot.objects[plot.catalog - 1], "/Pages");
    if (plot.pages == 0 || plot.pages >= count) return false;
    const std::string& tree = plot.objects[plot.pages - 1];
    const size_t kids = tree.find("/Kids [");
    plot.page = kids == std::string::npos ? 0 : numberAt(tree, kids + 7);
    return plot.page > 0 && plot.page < count && plot.page != plot.catalog &&
           plot.page != plot.pages && plot.page != plot.info;
}

bool readFile(const std::string& path, std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool good = !std::ferror(f);
    std::fclose(f);
    return good;
}

}  // namespace

drawing::Status bindPdf(const std::vector<BookPage>& pages, const std::string& target,
                        std::string& written) {
    PdfFile book;
    const int catalog = book.reserve(), tree = book.reserve(), outlines = book.reserve();
    std::vector<int> pageNumbers;
    static const std::regex kRef(R"((\d+) 0 R)");
    for (const BookPage& page : pages) {
        std::string bytes;
        if (!readFile(page.pdf, bytes))
            return drawing::Status::failure(reason::kUnreadable, page.pdf);
        Plot plot;
        if (!read(bytes, plot)) return drawing::Status::failure(kNotOurs, page.pdf);
        // The plot's objects but its catalog, page tree and information get new numbers.
        std::vector<int> renumbered(plot.objects.size() + 1, 0);
        for (size_t k = 1; k <= plot.objects.size(); ++k)
            if (k != plot.catalog && k != plot.pages && k != plot.info)
                renumbered[k] = book.reserve();
        renumbered[plot.pages] = tree;
        for (size_t k = 1; k <= plot.objects.size(); ++k) {
            if (k == plot.catalog || k == plot.pages || k == plot.info) continue;
            std::string& object = plot.objects[k - 1];
            // References are in the dictionary, never in a stream's bytes.
            const size_t stream = object.find(">>\nstream\n");
            const std::string dict =
                object.substr(0, stream == std::string::npos ? object.size() : stream);
            std::string moved;
            size_t from = 0;
            for (auto it = std::sregex_iterator(dict.begin(), dict.end(), kRef);
                 it != std::sregex_iterator(); ++it) {
                const size_t old = numberAt(it->str(1), 0);
                moved += dict.substr(from, it->position() - from);
                moved +=
                    PdfFile::ref(old < renumbered.size() && renumbered[old] ? renumbered[old] : 0);
                from = it->position() + it->length();
            }
            moved += dict.substr(from);
            if (stream != std::string::npos) moved += object.substr(stream);
            book.object(renumbered[k], moved);
        }
        pageNumbers.push_back(renumbered[plot.page]);
    }
    // Bookmarks, one per page, in order.
    std::vector<int> marks;
    for (size_t i = 0; i < pages.size(); ++i) marks.push_back(book.reserve());
    for (size_t i = 0; i < pages.size(); ++i) {
        std::string mark = "<< /Title " + pdfText(QString::fromStdString(pages[i].bookmark)) +
                           " /Parent " + PdfFile::ref(outlines) + " /Dest [" +
                           PdfFile::ref(pageNumbers[i]) + " /Fit]";
        if (i > 0) mark += " /Prev " + PdfFile::ref(marks[i - 1]);
        if (i + 1 < pages.size()) mark += " /Next " + PdfFile::ref(marks[i + 1]);
        book.object(marks[i], mark + " >>");
    }
    std::string kids;
    for (int n : pageNumbers) kids += PdfFile::ref(n) + " ";
    book.object(tree, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                          std::to_string(pageNumbers.size()) + " >>");
    book.object(outlines, marks.empty()
                              ? "<< /Type /Outlines /Count 0 >>"
                              : "<< /Type /Outlines /First " + PdfFile::ref(marks.front()) +
                                    " /Last " + PdfFile::ref(marks.back()) + " /Count " +
                                    std::to_string(marks.size()) + " >>");
    book.object(catalog, "<< /Type /Catalog /Pages " + PdfFile::ref(tree) + " /Outlines " +
                             PdfFile::ref(outlines) + " /PageMode /UseOutlines >>");
    const int info = book.reserve();
    book.object(info, "<< /Creator (Tolvane) /Producer (Tolvane) >>");
    return drawing::writeNewFile(book.finish(catalog, info), target, written);
}

}  // namespace plot
