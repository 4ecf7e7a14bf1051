#include "dwg/dxf_out.h"

namespace dwg {

void DxfOut::group(int code, std::string_view value) {
    const std::string number = std::to_string(code);
    if (number.size() < 3) text_.append(3 - number.size(), ' ');
    text_ += number;
    text_ += '\n';
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) {
            text_ += '^';
            text_ += static_cast<char>(u + 0x40);
        } else if (c == '^' ) {
            text_ += "^ ";
        } else {
            text_ += c;
        }
    }
    text_ += '\n';
}

}  // namespace dwg
