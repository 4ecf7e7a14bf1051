// Sample drawings for the engine's tests, written as groups and rendered as ASCII or
// binary DXF of any version.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/dxf_groups.h"

namespace drawing::testing {

using Groups = std::vector<std::pair<int, std::string>>;

struct SampleOptions {
    std::string version = "AC1015";     // $ACADVER
    std::string codePage = "ANSI_936";  // $DWGCODEPAGE
    DxfFormat format = DxfFormat::Ascii;
    bool crlf = false;
    int nestedBlocks = 3;          // unused blocks U1 > U2 > ... each inserting the next
    std::string title = "标题栏";  // value of the NAME attribute of the title block (UTF-8)
    bool paperSpace = false;       // $TILEMODE 0 and the title block in paper space
    int fillerEntities = 0;        // extra lines, circles, texts, polylines and inserts
};

// The groups of a drawing with: layers 0, USED, UNUSED, Defpoints; linetypes ByBlock,
// ByLayer, Continuous, DASHED (used by layer USED), UNUSEDLT; text styles Standard and
// UNUSEDSTYLE; dimension styles Standard and UNUSEDDIM; blocks TITLE (attributes
// DRAWNO, REV, NAME), USEDBLK and the unused chain U1 ... Un; in model space (or paper
// space) a LINE, a TEXT, an INSERT of USEDBLK and one of TITLE with DRAWNO A100, REV B
// and NAME `title`. Texts are in the file's encoding.
Groups sampleGroups(const SampleOptions& options);

// Renders groups as a DXF file (the binary sentinel included for binary formats).
std::string render(const Groups& groups, DxfFormat format, bool crlf = false);

std::string sampleDrawing(const SampleOptions& options);

// An R12 drawing whose block SELF inserts itself twice, inserted once in model space:
// a few hundred bytes that, expanded without a limit, take 2^32 references and more.
std::string selfInsertingDrawing();

// A fresh folder under the system's temporary folder, named `prefix` and a random
// number, removed with everything in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes `bytes` to `path`.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// What the live records of `d` point at that no live record is: "TYPE role handle" for
// pointers, "TYPE block NAME-ID" for blocks named by entities.
std::set<std::string> pointingNowhere(Drawing& d);

// Loads the file with the independent reader ezdxf and runs its audit: empty when the
// file loads without audit errors, else what ezdxf reports.
std::string ezdxfAudit(const std::string& path);

}  // namespace drawing::testing
