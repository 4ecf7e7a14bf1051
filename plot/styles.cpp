#include "plot/styles.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <filesystem>

#include "plot/scene.h"

namespace plot {
namespace {

constexpr const char* kMonochrome = "monochrome.ctb";
constexpr const char* kGrayscale = "grayscale.ctb";
constexpr const char* kScreening = "screening 50%.ctb";
constexpr int kHeaderSize = 60;  // the title line, then checksum, sizes (32-bit each)

bool endsWith(const std::string& name, const char* tail) {
    const std::string t = tail;
    if (name.size() < t.size()) return false;
    std::string end = name.substr(name.size() - t.size());
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return end == t;
}

QColor gray(const QColor& c) {
    const int l = qRound(0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue());
    return QColor(l, l, l);
}

// `percent` of the colour's ink, the rest paper white.
QColor screened(const QColor& c, int percent) {
    auto mix = [percent](int v) { return 255 - (255 - v) * percent / 100; };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

// The text of a .ctb file: the zlib data after the header, whose third word is the
// unpacked size.
QString unpackCtb(const QByteArray& bytes) {
    if (bytes.size() <= kHeaderSize || !bytes.startsWith("PIAFILEVERSION")) return {};
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + kHeaderSize - 8);
    QByteArray packed(4, '\0');
    qToBigEndian<quint32>(size, packed.data());
    packed.append(bytes.mid(kHeaderSize));
    return QString::fromLatin1(qUncompress(packed));
}

}  // namespace

std::vector<std::string> PlotStyleTable::names(const std::string& folder) {
    std::vector<std::string> names = {kMonochrome, kGrayscale, kScreening};
    std::vector<std::string> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_regular_file(typeError) && (endsWith(name, ".ctb") || endsWith(name, ".stb")) &&
            std::find(names.begin(), names.end(), name) == names.end())
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    names.insert(names.end(), files.begin(), files.end());
    return names;
}

PlotStyleTable PlotStyleTable::load(const std::string& name, const std::string& folder,
                                    bool& readable) {
    PlotStyleTable table;
    readable = true;
    if (name == kMonochrome) {
        table.mode_ = Mode::Monochrome;
    } else if (name == kGrayscale) {
        table.mode_ = Mode::Grayscale;
    } else if (name == kScreening) {
        table.mode_ = Mode::Screening;
    } else {
        QFile file(QString::fromStdString(folder + "/" + name));
        readable = endsWith(name, ".ctb") && file.open(QIODevice::ReadOnly) &&
                   table.parseCtbText(unpackCtb(file.readAll()));
    }
    return table;
}

bool PlotStyleTable::parseCtbText(const QString& text) {
    const qsizetype start = text.indexOf("plot_style{");
    if (start < 0) return false;
    static const QRegularExpression entry(R"((\d+)\{([^}]*)\})");
    static const QRegularExpression field(R"(^\s*(\w+)=(.*)$)",
                                          QRegularExpression::MultilineOption);
    int count = 0;
    for (auto it = entry.globalMatch(text, start); it.hasNext();) {
        const auto m = it.next();
        const int index = m.captured(1).toInt() + 1;  // entry 0 is ACI 1
        if (index < 1 || index > 255) continue;
        Pen pen;
        for (auto f = field.globalMatch(m.captured(2)); f.hasNext();) {
            const auto fm = f.next();
            const QString key = fm.captured(1);
            const QString value = fm.captured(2).trimmed();
            if (key == "color") {
                const auto v = static_cast<quint32>(value.toLongLong());
                // The top byte marks the kind; 0xC3 with all colour bits set is
                // "use object colour".
                if (v >> 24 != 0xc3 || (v & 0xffffff) != 0xffffff) pen.color = 0xff000000u | v;
            } else if (key == "color_policy") {
                pen.grayscale = value.toInt() & 2;
            } else if (key == "screen") {
                pen.screen = std::clamp(value.toInt(), 0, 100);
            }
        }
        pens_[index] = pen;
        ++count;
    }
    if (count == 0) return false;
    mode_ = Mode::Pens;
    return true;
}

QColor PlotStyleTable::penColor(int aci, const QColor& displayed) const {
    if (aci == kPaperAci) return Qt::white;
    switch (mode_) {
        case Mode::Monochrome:
            return Qt::black;
        case Mode::Grayscale:
            return gray(displayed);
        case Mode::Screening:
            return screened(displayed, 50);
        case Mode::Pens: {
            if (aci < 1 || aci > 255) return displayed;
            const Pen& pen = pens_[aci];
            QColor c = pen.color ? QColor(*pen.color) : displayed;
            if (pen.grayscale) c = gray(c);
            return screened(c, pen.screen);
        }
        case Mode::AsDisplayed:
            break;
    }
    return displayed;
}

}  // namespace plot
