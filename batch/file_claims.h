// The order of file uses among the drawings of a run in worker processes. A drawing
// may use a file once no earlier drawing still in hand can touch it any more, so every
// file ends as a run of the drawings one after another would leave it: a copy's name
// taken by the first drawing that names it, a drawing listed twice worked on twice in
// turn, plots (a PDF beside the drawing, a printer's queue) made in drawing order.
#pragma once

#include <string>
#include <vector>

#include "batch/run.h"

namespace batch {

class FileClaims {
public:
    // `paths`: the drawings' full paths in run order. `saves`: each drawing writes its
    // own file at its end. `copies`: each may save a copy whose name it learns only on
    // the way.
    FileClaims(std::vector<std::string> paths, bool saves, bool copies);

    // Whether drawing `index` may be opened now; `exists`: its file is there now (a file
    // that is not there yet may be an earlier drawing's copy).
    bool mayOpen(size_t index, bool exists) const;
    // Drawing `index` asks for `use` of `path` (full path); a copy's target is known
    // from then on.
    void claim(size_t index, FileUse use, const std::string& path);
    // Whether drawing `index` may plot, or save a copy to `path`, now. Saving its own
    // file never waits: opening it did.
    bool mayUse(size_t index, FileUse use, const std::string& path, bool exists) const;
    // The use drawing `index` claimed last is over.
    void released(size_t index);
    // Drawing `index` has ended and touches nothing more.
    void finished(size_t index);

private:
    // Whether no earlier drawing in hand may still write `path`.
    bool nobodyEarlierWrites(size_t index, const std::string& path, bool exists) const;

    struct Drawing {
        std::string path;
        bool copyKnown;          // its copy's target is known, or it makes none
        std::string copy;        // that target
        bool plotted = false;    // past its plot
        bool plotting = false;   // its last claim was the plot
        bool finished = false;
    };

    std::vector<Drawing> drawings_;
    bool saves_;
    size_t firstUnfinished_ = 0;
};

}  // namespace batch
