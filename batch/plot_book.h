// Every plot of a run bound into one PDF (BatchSettings::plotInto), one page per drawing
// at its own paper size with a bookmark named after the drawing's file: what a drawing
// office sends out. The plot reports of the run are collected as they come (in drawing
// order, with worker processes too) and the book is written when the run has ended, as
// a new file that never replaces one.
#pragma once

#include <string>
#include <vector>

#include "batch/run.h"
#include "plot/pdf_book.h"

namespace batch {

class PlotBook {
public:
    // Takes `observer.plotted` over, passing every report on to what it was.
    // REQUIRES: this PlotBook outlives the run that uses `observer`.
    PlotBook(const BatchSettings& settings, BatchObserver& observer);
    PlotBook(const PlotBook&) = delete;
    PlotBook& operator=(const PlotBook&) = delete;

    // Writes the book of what was plotted and tells `observer`: `saved` with the file
    // written, or `error` with the file and the reason. Nothing when no book was asked
    // for or nothing was plotted.
    void bind(const BatchObserver& observer) const;

private:
    std::string target_;
    std::vector<plot::BookPage> pages_;
};

// The name of the book the batch window writes beside the run's first drawing.
inline constexpr const char* kWindowBookName = "批量打印.pdf";

}  // namespace batch
