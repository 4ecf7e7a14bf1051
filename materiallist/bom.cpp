#include "materiallist/bom.h"

#include "catalogue/catalogue.h"
#include "materiallist/smart_fill.h"
#include "materiallist/weight.h"
#include "ui/number_text.h"

namespace materiallist {
namespace {

constexpr std::string_view kTimes = "\xC3\x97";  // "×" in UTF-8

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendTabFreeField(std::string& out, std::string_view text) {
    for (char c : text) out += c == '\t' ? ' ' : c;
}

// The report line of one description, without the line number.
double appendLine(std::string_view line, std::string& out) {
    const BomQuantity q = splitQuantity(line);
    FillResult fill = smartFill(q.description);

    appendTabFreeField(out, q.description);
    out += '\t';
    if (!fill.filled) {
        out += "\t\t\t";
        out += q.quantity;
        out += '\t';
        if (fill.message) {
            out += '\t';
            out += fill.message->text;
        }
        out += '\n';
        return 0;
    }

    WeightInputs in;
    in.text1 = fill.texts[0];
    in.text2 = fill.texts[1];
    in.text3 = fill.texts[2];
    in.steelType = fill.steelType;
    in.listIndex = fill.listIndex.value_or(-1);
    in.materialIndex = fill.materialIndex;
    in.quantity = q.quantity;
    const WeightResult weight = calculateWeight(in, WeightState{});

    out += catalogue::steelTypeTexts()[static_cast<std::size_t>(fill.steelType)];
    out += '\t';
    if (sectionListOfType(fill.steelType) >= 0 && fill.listIndex) {
        out += listTexts(fill.list)[static_cast<std::size_t>(*fill.listIndex)];
    } else {
        bool first = true;
        for (std::size_t r = 0; r < fill.rows.size(); ++r) {
            if (!fill.rows[r].visible) continue;
            if (!first) out += 'x';
            appendTabFreeField(out, fill.texts[r]);
            first = false;
        }
    }
    out += '\t';
    out += weight.unitText;
    out += '\t';
    out += q.quantity;
    out += '\t';
    out += weight.totalText;
    if (weight.message) {
        out += '\t';
        out += weight.message->text;
    }
    out += '\n';
    return weight.written ? weight.state.total : 0;
}

void appendNumber(std::string& out, std::size_t n) {
    char digits[24];
    char* p = digits + sizeof digits;
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    out.append(p, static_cast<std::size_t>(digits + sizeof digits - p));
}

}  // namespace

BomQuantity splitQuantity(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && isBlank(line[end - 1])) --end;
    std::size_t start = end;
    while (start > 0 && isDigit(line[start - 1])) --start;
    if (start == end) return {line, "1"};
    const std::string_view quantity = line.substr(start, end - start);
    std::size_t mark = start;
    while (mark > 0 && isBlank(line[mark - 1])) --mark;
    std::size_t cut;
    if (mark > 0 && line[mark - 1] == '*')
        cut = mark - 1;
    else if (mark >= kTimes.size() && line.substr(mark - kTimes.size(), kTimes.size()) == kTimes)
        cut = mark - kTimes.size();
    else
        return {line, "1"};
    // Blanks before the mark separate nothing more for smart fill; they are dropped.
    while (cut > 0 && isBlank(line[cut - 1])) --cut;
    return {line.substr(0, cut), quantity};
}

BomSummary appendBomReport(std::string_view text, std::string& out, std::size_t firstLineNumber) {
    BomSummary summary;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        appendNumber(out, firstLineNumber + summary.lines);
        out += '\t';
        summary.totalWeight += appendLine(line, out);
        ++summary.lines;
        pos = eol + 1;
    }
    return summary;
}

}  // namespace materiallist
