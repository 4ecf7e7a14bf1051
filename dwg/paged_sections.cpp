#include "dwg/paged_sections.h"

#include <algorithm>

#include "dwg/reasons.h"
#include "dwg/sentinel_section.h"

namespace dwg {

namespace {

std::string readSection(std::span<const uint8_t> file, const PagedFile& paged, PageDecoder decode,
                        const char* name, ByteBudget& budget, std::vector<uint8_t>& out) {
    const auto section = std::find_if(paged.sections.begin(), paged.sections.end(),
                                      [&](const SectionDescription& d) { return d.name == name; });
    if (section == paged.sections.end()) return reason::damaged(std::string("缺少节") + name);
    const std::string what = "节" + section->name;
    if (!budget.spend(section->size)) return reason::damaged(what + "的大小超出范围");
    out.assign(section->size, 0);
    std::vector<uint8_t> scratch;
    for (const SectionPage& page : section->pages) {
        const auto where = paged.pages.find(page.number);
        if (where == paged.pages.end()) return reason::damaged(what + "的页不存在");
        if (page.start >= out.size()) return reason::damaged(what + "的页位置超出范围");
        std::span<const uint8_t> data;
        if (std::string why = decode(file, where->second, *section, page, budget, scratch, data);
            !why.empty())
            return why;
        const size_t n = std::min<uint64_t>(data.size(), out.size() - page.start);
        if (!budget.spend(n)) return reason::damaged(what + "的页太多");
        std::copy_n(data.begin(), n, out.begin() + static_cast<ptrdiff_t>(page.start));
    }
    return {};
}

}  // namespace

std::string readPagedContainer(std::span<const uint8_t> file, const PagedFile& paged,
                               PageDecoder decode, Container& out) {
    ByteBudget budget(file.size());
    std::vector<uint8_t> handles;
    for (auto [name, bytes] :
         {std::pair{"AcDb:Header", &out.header}, std::pair{"AcDb:Classes", &out.classes},
          std::pair{"AcDb:Handles", &handles}, std::pair{"AcDb:AcDbObjects", &out.objects}}) {
        if (std::string why = readSection(file, paged, decode, name, budget, *bytes); !why.empty())
            return why;
    }
    return completeContainer(handles, out);
}

}  // namespace dwg
