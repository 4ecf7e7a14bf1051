// Reading MTEXT inline codes, one character at a time; every value read from the text
// is brought into a range a drawing program accepts.
#include "plot/mtext_format.h"

#include <QColor>
#include <algorithm>
#include <cmath>

#include "plot/glyphs.h"

namespace plot {
namespace {

constexpr double kTextDefault = 2.5;

bool isFileFont(const QString& name) {
    const QString lower = name.toLower();
    return lower.endsWith(".shx") || lower.endsWith(".ttf") || lower.endsWith(".ttc") ||
           lower.endsWith(".otf");
}

class MTextReader {
public:
    MTextReader(const QString& s, const MTextFormat& base, std::vector<MTextFormat>& formats)
        : s_(s), current_(base), formats_(formats) {
        out_.emplace_back();
    }

    std::vector<MTextParagraph> read() {
        while (i_ < s_.size()) step();
        flush();
        return std::move(out_);
    }

private:
    void step() {
        const QChar c = s_[i_++];
        if (c == '\\' && i_ < s_.size()) {
            code(s_[i_++]);
        } else if (c == '^' && i_ < s_.size()) {
            caret(s_[i_++]);
        } else if (c == '{') {
            flush();
            saved_.push_back(current_);
        } else if (c == '}') {
            flush();
            if (!saved_.empty()) current_ = saved_.back(), saved_.pop_back();
        } else if (c == '\t') {
            piece(MTextPiece::Kind::Tab);
        } else if (c == '\n') {
            paragraph(false);
        } else if (c >= ' ' || c.isHighSurrogate() || c.isLowSurrogate()) {
            text_ += c;
        }
    }

    // ^X stands for the control character X - 64; "^ " for the caret itself.
    void caret(QChar c) {
        if (c == ' ')
            text_ += '^';
        else if (c == 'I')
            piece(MTextPiece::Kind::Tab);
        else if (c == 'J')
            paragraph(false);
    }

    void code(QChar c) {
        switch (c.unicode()) {
            case 'P':
            case 'X':
                return paragraph(false);
            case 'N':
                return paragraph(true);
            case '~':
                text_ += QChar(0x00a0);
                return;
            case '\\':
            case '{':
            case '}':
                text_ += c;
                return;
            case 'S':
                return stack();
            case 'L':
            case 'l':
                return set(&MTextFormat::underline, c == 'L');
            case 'O':
            case 'o':
                return set(&MTextFormat::overline, c == 'O');
            case 'K':
            case 'k':
                return set(&MTextFormat::strike, c == 'K');
            case 'H':
                return scaled(&MTextFormat::height, 1e-3 * base(), 1e3 * base());
            case 'W':
                return scaled(&MTextFormat::widthFactor, 0.01, 100);
            case 'T':
                return scaled(&MTextFormat::tracking, 0.75, 4);
            case 'Q': {
                MTextFormat f = current_;
                f.oblique = std::clamp(number(current_.oblique, false), -85.0, 85.0);
                return change(f);
            }
            case 'C': {
                const long aci = integer();
                if (aci < 0 || aci > 256) return;
                MTextFormat f = current_;
                f.aci = aci == 0 || aci == 256 ? -1 : static_cast<int>(aci);
                f.trueColor = false;
                return change(f);
            }
            case 'c': {
                const long bgr = integer();
                if (bgr < 0) return;
                MTextFormat f = current_;
                // Stored blue first.
                f.rgb = qRgb(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                             static_cast<int>((bgr >> 16) & 0xff));
                f.trueColor = true;
                return change(f);
            }
            case 'A':
                integer();
                return;
            case 'f':
            case 'F':
                return font(c == 'F');
            case 'p':
                return paragraphCodes();
            default:
                return;  // unknown: dropped, the text goes on after it
        }
    }

    double base() const { return formats_.empty() ? kTextDefault : formats_.front().height; }

    void set(bool MTextFormat::*flag, bool on) {
        MTextFormat f = current_;
        f.*flag = on;
        change(f);
    }

    // A value or, ending in "x", a factor of the current one; then an optional ";".
    void scaled(double MTextFormat::*field, double lo, double hi) {
        MTextFormat f = current_;
        f.*field = std::clamp(number(current_.*field, true), lo, hi);
        change(f);
    }

    // A decimal number at the cursor; `relative`: "2x" is twice `current`. The ";" that
    // closes the code is taken when it is there.
    double number(double current, bool relative) {
        const qsizetype start = i_;
        if (i_ < s_.size() && (s_[i_] == '-' || s_[i_] == '+')) ++i_;
        while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == '.')) ++i_;
        bool ok = false;
        double v = s_.mid(start, i_ - start).toDouble(&ok);
        if (!ok || !std::isfinite(v)) v = current;
        if (relative && i_ < s_.size() && (s_[i_] == 'x' || s_[i_] == 'X')) {
            ++i_;
            v = ok ? current * std::abs(v) : current;
        } else if (relative) {
            v = std::abs(v);
        }
        if (i_ < s_.size() && s_[i_] == ';') ++i_;
        return v;
    }

    long integer() {
        const qsizetype start = i_;
        while (i_ < s_.size() && s_[i_].isDigit() && i_ - start < 9) ++i_;
        bool ok = false;
        const long v = s_.mid(start, i_ - start).toLong(&ok);
        if (i_ < s_.size() && s_[i_] == ';') ++i_;
        return ok ? v : -1;
    }

    // The text up to the next ";" (or the end); `escapes`: "\;" does not end it.
    QString argument(bool escapes) {
        QString out;
        while (i_ < s_.size() && s_[i_] != ';') {
            if (escapes && s_[i_] == '\\' && i_ + 1 < s_.size()) ++i_;
            out += s_[i_++];
        }
        if (i_ < s_.size()) ++i_;
        return out;
    }

    // \fArial|b1|i0|c134|p34; (a family) or \Fromans.shx; (a font file).
    void font(bool file) {
        const QString name = argument(false).section('|', 0, 0).trimmed();
        if (name.isEmpty()) return;
        QString family = name;
        if (file || isFileFont(name)) {
            const QString lower = name.toLower();
            if (lower.endsWith(".shx") || !isFileFont(name)) return;
            family = name.left(name.lastIndexOf('.')).section('/', -1).section('\\', -1);
        }
        MTextFormat f = current_;
        f.font = Glyphs::instance().font(family);
        change(f);
    }

    // \S upper / lower ; with '/' a line between, '#' diagonal, '^' none.
    void stack() {
        const QString body = argument(true);
        qsizetype at = -1;
        for (qsizetype k = 0; k < body.size() && at < 0; ++k)
            if (body[k] == '/' || body[k] == '#' || body[k] == '^') at = k;
        if (at < 0) {
            text_ += body;
            return;
        }
        flush();
        MTextPiece p;
        p.kind = MTextPiece::Kind::Stack;
        p.text = body.left(at);
        p.lower = body.mid(at + 1);
        p.stack = body[at];
        if (p.stack == '^' && p.lower.startsWith(' '))
            p.lower.remove(0, 1);  // "^ " as written to keep it from caret codes
        p.format = formatIndex();
        out_.back().pieces.push_back(std::move(p));
    }

    // \pxi-2,l3,r1,qc,t4,8; : the first line's indent, left and right indents,
    // alignment and tab stops, for this paragraph and those after it.
    void paragraphCodes() {
        const QString body = argument(false);
        MTextParagraph& p = out_.back();
        qsizetype k = 0;
        auto value = [&]() {
            const qsizetype start = k;
            if (k < body.size() && (body[k] == '-' || body[k] == '+')) ++k;
            while (k < body.size() && (body[k].isDigit() || body[k] == '.')) ++k;
            bool ok = false;
            const double v = body.mid(start, k - start).toDouble(&ok);
            return ok && std::isfinite(v) ? std::clamp(v, -1e4, 1e4) : 0.0;
        };
        while (k < body.size()) {
            const QChar key = body[k++];
            if (key == 'i') {
                p.indent = value();
            } else if (key == 'l') {
                p.left = value();
            } else if (key == 'r') {
                p.right = value();
            } else if (key == 'q' && k < body.size()) {
                const QChar a = body[k++];
                p.align = a == 'l'   ? MTextParagraph::Align::Left
                          : a == 'c' ? MTextParagraph::Align::Center
                          : a == 'r' ? MTextParagraph::Align::Right
                          : a == 'j' ? MTextParagraph::Align::Justified
                                     : MTextParagraph::Align::ByAttachment;
            } else if (key == 't') {
                p.tabs.clear();
                while (k < body.size()) {
                    if (body[k] == 'c' || body[k] == 'r' || body[k] == ',') {
                        ++k;
                        continue;
                    }
                    if (body[k].isLetter()) break;  // the next key
                    const qsizetype before = k;
                    const double v = value();
                    if (k == before)
                        ++k;
                    else if (v > 0)
                        p.tabs.push_back(v);
                }
            }
        }
        std::sort(p.tabs.begin(), p.tabs.end());
    }

    void change(const MTextFormat& f) {
        if (f == current_) return;
        flush();
        current_ = f;
    }

    int formatIndex() {
        if (formats_.empty() || !(formats_.back() == current_)) formats_.push_back(current_);
        return static_cast<int>(formats_.size() - 1);
    }

    void flush() {
        if (text_.isEmpty()) return;
        MTextPiece p;
        p.text = std::move(text_);
        text_.clear();
        p.format = formatIndex();
        out_.back().pieces.push_back(std::move(p));
    }

    void piece(MTextPiece::Kind kind) {
        flush();
        MTextPiece p;
        p.kind = kind;
        p.format = formatIndex();
        out_.back().pieces.push_back(std::move(p));
    }

    // The next paragraph keeps the alignment, indents and tabs of this one.
    void paragraph(bool newColumn) {
        flush();
        MTextParagraph next;
        const MTextParagraph& last = out_.back();
        next.align = last.align, next.indent = last.indent, next.left = last.left;
        next.right = last.right, next.tabs = last.tabs;
        next.newColumn = newColumn;
        out_.push_back(std::move(next));
    }

    const QString& s_;
    qsizetype i_ = 0;
    MTextFormat current_;
    std::vector<MTextFormat> saved_;
    std::vector<MTextFormat>& formats_;
    std::vector<MTextParagraph> out_;
    QString text_;
};

}  // namespace

std::vector<MTextParagraph> parseMText(const QString& text, const MTextFormat& base,
                                       std::vector<MTextFormat>& formats) {
    if (formats.empty()) formats.push_back(base);
    return MTextReader(text, base, formats).read();
}

}  // namespace plot
