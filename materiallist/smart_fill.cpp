#include "materiallist/smart_fill.h"

#include <initializer_list>

#include "catalogue/catalogue.h"

namespace materiallist {
namespace {

using catalogue::SteelType;

constexpr std::string_view kFillTitle = "出错信息！";
constexpr std::string_view kM1 =
    "规格描述不完整，作为钢板类应提供：长x宽x高，如果是异型也应该提供展开尺寸";
constexpr std::string_view kM2 = "规格描述不完整，作为钢管类应提供：钢管外径x壁厚---长度";
constexpr std::string_view kM3 = "规格描述不完整，作为螺栓类应提供：螺栓工程直径---长度";
constexpr std::string_view kM4 = "规格描述不完整，作为螺母类应提供：螺母工程直径";
constexpr std::string_view kM5 =
    "规格描述不完整，作为washer,如果是标准垫片只需提供规格即可，非标垫片需提供 外径x内径x厚度";
constexpr std::string_view kM6 = "规格描述不完整，作为标准开口销,需提供 工程x长度";
constexpr std::string_view kM7 = "规格描述可能有问题，如果你认为正确的话，请与软件开发者联系";

constexpr int kSlotCount = 10;

enum class Code { None, Plate, Pipe, Channel, IBeam, HBeam, Angle, Rod, Bolt, Nut, Washer, Pin };

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Keyword tests on the lower-cased description.
bool contains(std::string_view text, std::string_view keyword) {
    return text.find(keyword) != std::string_view::npos;
}

bool containsAny(std::string_view text, std::initializer_list<std::string_view> keywords) {
    for (std::string_view keyword : keywords)
        if (contains(text, keyword)) return true;
    return false;
}

// Whether `text` contains `needle` (lower case) when `text` is lower-cased.
bool containsIgnoringCase(std::string_view text, std::string_view needle) {
    if (needle.empty()) return true;
    for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
        if (lower(text[at]) != needle[0]) continue;
        std::size_t j = 1;
        while (j < needle.size() && lower(text[at + j]) == needle[j]) ++j;
        if (j == needle.size()) return true;
    }
    return false;
}

// The numbers of the description in the order written, as their texts.
struct Slots {
    std::array<std::string_view, kSlotCount> text{};
    int count = 0;

    bool present(int k) const { return count >= k; }
    std::string_view operator[](int k) const {
        return k <= count ? text[k - 1] : std::string_view();
    }
    // Slots hold only digits and at most one point, so any digit 1-9 makes them non-zero.
    bool nonZero(int k) const {
        return (*this)[k].find_first_of("123456789") != std::string_view::npos;
    }
};

// Splits into number slots; false when there are more than ten numbers or a number
// without a digit or with a second point (those cannot be read as decimals).
bool splitNumbers(std::string_view d, Slots& slots) {
    std::size_t i = 0;
    while (i < d.size()) {
        if (!isNumberChar(d[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        int points = 0;
        while (i < d.size() && isNumberChar(d[i])) points += d[i++] == '.';
        const std::string_view number = d.substr(start, i - start);
        if (slots.count == kSlotCount || points > 1 || number.size() == std::size_t(points))
            return false;
        slots.text[static_cast<std::size_t>(slots.count++)] = number;
    }
    return true;
}

// The keyword groups in order; the last group that matches decides.
Code classify(std::string_view d, const Slots& n) {
    Code code = Code::None;
    if (n.present(3) && containsAny(d, {"plate", "flat", "shim", "stiffener", "square"}))
        code = Code::Plate;
    if (n.present(2) && (d.starts_with("u") || containsAny(d, {"channel", "upn"})))
        code = Code::Channel;
    if (n.present(2) && (contains(d, "ipn") || d.starts_with("i"))) code = Code::IBeam;
    if (n.present(3) && (contains(d, "angle") || d.starts_with("l"))) code = Code::Angle;
    if (n.present(3) && d.starts_with("h"))  // also covers "hm", "hp", "hn", "hw"
        code = Code::HBeam;
    if (n.present(2) && (d.starts_with("rod") || d.starts_with("axis"))) code = Code::Rod;
    if (n.present(3) && containsAny(d, {"pipe", "tube"})) code = Code::Pipe;
    if (n.present(2) && containsAny(d, {"bolt", "screw"})) code = Code::Bolt;
    if (n.present(1) && contains(d, "nut")) code = Code::Nut;
    if (n.present(1) && contains(d, "washer")) code = Code::Washer;
    if (n.present(2) && contains(d, "pin")) code = Code::Pin;
    return code;
}

// The first row of the list whose text contains `search`, ignoring case; the last row
// when none does (the search leaves the last row it tried selected).
int searchList(int list, std::string_view search) {
    const auto texts = listTexts(list);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (containsIgnoringCase(texts[i], search)) return static_cast<int>(i);
    return static_cast<int>(texts.size()) - 1;
}

// Size-code form of channels and I-beams: N1 with the first grade letter found after a
// digit, "." or "/" anywhere in the lower-cased description `d`, then "-" ("25a-",
// "16-", "6.3-").
std::string sizeCodeSearch(std::string_view d, std::string_view n1) {
    std::string search(n1);
    for (std::size_t i = 0; i + 1 < d.size(); ++i) {
        const char next = d[i + 1];
        if (d[i] >= '.' && d[i] <= '9' && (next == 'a' || next == 'b' || next == 'c')) {
            search += next;
            break;
        }
    }
    search += '-';
    return search;
}

std::string_view lastNonZero(const Slots& n) {
    std::string_view last;
    for (int k = 1; k <= n.count; ++k)
        if (n.nonZero(k)) last = n[k];
    return last;
}

std::string joined(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts) {
        if (!s.empty()) s += 'x';
        s += p;
    }
    return s;
}

ui::Message failure(std::string_view text) { return {std::string(kFillTitle), std::string(text)}; }

// Fills the result for steel type `type`: the type's list, and the rows shown with
// their captions (in row order, empty = hidden) and texts.
void choose(FillResult& r, SteelType type, std::array<std::string_view, 3> captions,
            std::array<std::string_view, 3> values) {
    r.filled = true;
    r.steelType = static_cast<int>(type);
    r.list = rowsForType(r.steelType).list;
    for (std::size_t i = 0; i < 3; ++i) {
        r.rows[i] = {!captions[i].empty(), captions[i]};
        r.texts[i] = std::string(values[i]);
    }
}

// Nuts and standard washers: the size alone; the second row is captioned "长度" but hidden.
void chooseNominalSize(FillResult& r, SteelType type, std::string_view size) {
    choose(r, type, {"规格", "", ""}, {size, "", ""});
    r.rows[1].caption = "长度";
}

void chooseSection(FillResult& r, SteelType type, std::string_view search,
                   std::string_view length) {
    choose(r, type, {"长度", "", ""}, {length, "", ""});
    r.listIndex = searchList(r.list, search);
}

}  // namespace

FillResult smartFill(std::string_view description) {
    std::string lowered(description);
    for (char& c : lowered) c = lower(c);
    const std::string_view d = lowered;

    FillResult r;
    Slots n;
    if (!splitNumbers(d, n)) {
        r.message = failure(kM7);
        return r;
    }

    const Code code = classify(d, n);
    switch (code) {
        case Code::None:
            r.message = failure(kM7);
            break;
        case Code::Plate:
            if (n.nonZero(3))
                choose(r, SteelType::Plate, {"长度", "宽度", "厚度"}, {n[1], n[2], n[3]});
            else
                r.message = failure(kM1);
            break;
        case Code::Pipe:
            if (n.nonZero(3))
                choose(r, SteelType::Pipe, {"长度", "外径", "厚度"}, {n[3], n[1], n[2]});
            else
                r.message = failure(kM2);
            break;
        case Code::Channel:
        case Code::IBeam: {
            const SteelType type = code == Code::Channel ? SteelType::Channel : SteelType::IBeam;
            if (n.nonZero(3))
                chooseSection(r, type, joined({n[1], n[2]}), lastNonZero(n));
            else
                chooseSection(r, type, sizeCodeSearch(d, n[1]), n[2]);
            break;
        }
        case Code::HBeam:
            chooseSection(r, SteelType::HBeam, joined({n[1], n[2]}), lastNonZero(n));
            break;
        case Code::Angle:
            // N1 and N2 are compared as written: "50" and "50.0" differ.
            if (n[1] != n[2] && n.nonZero(3) && !n.nonZero(4))
                chooseSection(r, SteelType::EqualAngle, joined({n[1], n[2]}), lastNonZero(n));
            else if (n[1] == n[2] && n.nonZero(4))
                chooseSection(r, SteelType::EqualAngle, joined({n[1], n[3]}), lastNonZero(n));
            else if (n[1] != n[2] && n.nonZero(4))
                chooseSection(r, SteelType::UnequalAngle, joined({n[1], n[2], n[3]}),
                              lastNonZero(n));
            break;
        case Code::Rod:
            choose(r, SteelType::RoundBar, {"长度", "外径", ""}, {n[2], n[1], ""});
            break;
        case Code::Bolt:
            if (n.nonZero(2))
                choose(r, SteelType::Bolt, {"直径", "长度", ""}, {n[1], n[2], ""});
            else
                r.message = failure(kM3);
            break;
        case Code::Nut:
            if (n.nonZero(1))
                chooseNominalSize(r, SteelType::Nut, n[1]);
            else
                r.message = failure(kM4);
            break;
        case Code::Washer:
            if (n.nonZero(1) && !n.nonZero(2))
                chooseNominalSize(r, SteelType::Washer, n[1]);
            else if (n.nonZero(3) && !n.nonZero(4))
                choose(r, SteelType::Washer, {"外径", "内径", "厚度"}, {n[1], n[2], n[3]});
            else
                r.message = failure(kM5);
            break;
        case Code::Pin:
            if (n.nonZero(2) && !n.nonZero(3))
                choose(r, SteelType::CotterPin, {"规格", "长度", ""}, {n[1], n[2], ""});
            else
                r.message = failure(kM6);
            break;
    }
    return r;
}

}  // namespace materiallist
