// One PDF of many plots: the pages of PDFs this plotter wrote, in order, each at its own
// paper size, with a bookmark (outline entry) per page. What a drawing office sends out
// for a whole run.
#pragma once

#include <string>
#include <vector>

#include "drawing/status.h"

namespace plot {

struct BookPage {
    std::string pdf;       // a PDF file of this plotter
    std::string bookmark;  // the page's outline entry, UTF-8
};

// Writes the pages of `pages` as one PDF at `target`, or, where a file has that name,
// at the first free "NAME (2).pdf", "NAME (3).pdf" ... beside it: through a temporary
// file, never over an existing file; `written` is set to the path used. Fails, writing
// nothing, when a page's PDF cannot be read or is not one of this plotter, or when the
// file cannot be written.
drawing::Status bindPdf(const std::vector<BookPage>& pages, const std::string& target,
                        std::string& written);

}  // namespace plot
