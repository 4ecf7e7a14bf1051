// Drawings kept in a format the engine does not read itself (DWG). A library that
// reads such a format registers a ForeignFormat; opening a drawing file then asks the
// registered formats, by the file's first bytes and not its name, whether one of them
// takes the file, and that one translates it into the DXF the engine reads. The engine
// writes DXF only: such a drawing is saved as DXF beside its file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/status.h"

namespace drawing {

struct Translation {
    std::string path;                // the file's path, given: what it names is looked up beside it
    std::string dxf;                 // the drawing as the bytes of a DXF file
    std::vector<std::string> notes;  // what was left out of the translation, one line each
};

class ForeignFormat {
public:
    virtual ~ForeignFormat() = default;
    // The format's name ("DWG").
    virtual std::string name() const = 0;
    // Whether a file beginning with `head` (at least its first 16 bytes, when the
    // file has them) is one this format reads.
    virtual bool takes(std::string_view head) const = 0;
    // Translates the whole file; fails with a reason in the user's language.
    virtual Status translate(std::string_view file, Translation& out) const = 0;
};

// Adds `format` to those asked (a format of the same name is replaced).
void registerForeignFormat(std::shared_ptr<const ForeignFormat> format);
// The registered format that takes a file beginning with `head`, or nullptr.
const ForeignFormat* foreignFormatOf(std::string_view head);

}  // namespace drawing
