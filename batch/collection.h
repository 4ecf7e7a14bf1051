// The batch run's drawing list: the drawings of one folder, or of a whole folder tree,
// as full paths, and the list of their bare names written for other programs.
//
// Paths are UTF-8, absolute and lexically normal (symbolic links are not resolved);
// folders are separated by "/". Nothing here throws.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawing/status.h"
#include "ui/message.h"

namespace batch {

// The patterns of the folder-tree search: both drawing suffixes, any case.
inline const std::vector<std::string> kDrawingPatterns = {"*.dwg", "*.dxf"};

// The file-dialog filter wherever a drawing is picked: both suffixes.
inline constexpr char kDrawingFileFilter[] = "图纸 (*.dwg *.dxf)";

// Whether `name` ends in exactly the lower-case "dwg" or "dxf" (the one-folder rule).
bool endsInDrawingSuffix(std::string_view name);

// Whether `name` matches `pattern` ("*" any run, "?" one character), ASCII letters
// compared without case as the file system does.
bool matchesPattern(std::string_view name, std::string_view pattern);

// Adds the drawings of `folder` (its files whose names end in "dwg" or "dxf", no
// subfolders) to `list`, then sorts the whole list by byte comparison of the paths,
// equal entries keeping their order. A folder that cannot be read fails with the
// reason and the folder, and the list is left as it was.
drawing::Status addFolderDrawings(const std::string& folder, std::vector<std::string>& list);

struct TreeSearch {
    std::vector<std::string> drawings;    // in list order
    std::vector<std::string> unreadable;  // folders that could not be read, each once
    size_t folders = 0;                   // folders searched, the root included

    // The root is searched first, and nothing more when it cannot be read.
    bool rootUnreadable() const { return folders == 1 && unreadable.size() == 1; }
};

// The drawings of the tree under `root`: a folder's own files matching any of
// `patterns` first, then its subfolders one after the other, depth first. Within a
// folder, files and subfolders are taken in byte order of their names, so a tree
// lists the same way on every file system. Symbolic links to folders are followed,
// but every real folder is searched once, so a link loop ends; the depth of the tree
// is bounded by memory, not by the stack. An unreadable root is listed in
// `unreadable` like any other folder.
TreeSearch FindFilesAPI(const std::string& root,
                        const std::vector<std::string>& patterns = kDrawingPatterns);

// The message when the drawing list is empty after adding a folder or a tree.
ui::Message noDrawingsMessage();

// The message after the name list was written to `path`.
ui::Message nameListWrittenMessage(const std::string& path);

// The line the name list holds for one drawing: the name after the last "/" without
// its last four characters (the extension), in double quotes (a quote in the name
// doubled), then CR LF.
std::string drawingNameLine(std::string_view drawing);

// Writes the name list of `drawings` in list order to `path`, replacing the file
// through a temporary one so that a failure leaves the old list intact.
drawing::Status writeDrawingNameList(const std::string& path,
                                     const std::vector<std::string>& drawings);

}  // namespace batch
