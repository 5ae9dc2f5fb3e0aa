#include "Zpl.h"

#include <cstdlib>
#include <stdexcept>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Reads a graphic of `total` bytes in rows of `perRow` from zpl at pos, ASCII
// hex with ZPL's compression: G-Y and g-z count repeats of the next digit, ','
// ends a row with zeros, '!' with ones, and ':' repeats the row before.
GreyImage ReadGraphic(const std::string& zpl, std::size_t& pos, long total, long perRow) {
    if (total <= 0 || perRow <= 0 || total % perRow != 0) {
        throw std::runtime_error("bad graphic size at " + std::to_string(pos));
    }
    const std::size_t digits = std::size_t(perRow) * 2;
    std::vector<std::string> rows;
    std::string row;
    int repeat = 0;
    while (long(rows.size()) < total / perRow) {
        if (pos >= zpl.size()) {
            throw std::runtime_error("graphic ends early");
        }
        const char c = zpl[pos++];
        if (c == '\n' || c == '\r') {
            continue;
        }
        if (c >= 'G' && c <= 'Y') {
            repeat += c - 'F';
        } else if (c >= 'g' && c <= 'z') {
            repeat += (c - 'f') * 20;
        } else if (c == ':' && row.empty()) {
            rows.push_back(rows.empty() ? std::string(digits, '0') : rows.back());
        } else if (c == ',' || c == '!') {
            row.resize(digits, c == ',' ? '0' : 'F');
        } else if (HexValue(c) >= 0) {
            row.append(std::size_t(std::max(1, repeat)), c);
            repeat = 0;
        } else {
            throw std::runtime_error(std::string("unexpected '") + c + "' in a graphic");
        }
        if (row.size() >= digits) {
            row.resize(digits);
            rows.push_back(row);
            row.clear();
        }
    }
    GreyImage image;
    image.width = int(perRow * 8);
    image.height = int(rows.size());
    image.pixels.reserve(std::size_t(image.width) * image.height);
    for (const std::string& r : rows) {
        for (const char digit : r) {
            for (int bit = 3; bit >= 0; --bit) {
                image.pixels.push_back((HexValue(digit) >> bit & 1) != 0 ? 0 : 255);
            }
        }
    }
    return image;
}

// The count numbers after pos, each after a comma, up to the comma before the data:
// ",41412,51," gives 41412 and 51, and pos then points past the last comma.
std::vector<long> Numbers(const std::string& zpl, std::size_t& pos, int count) {
    std::vector<long> numbers;
    while (int(numbers.size()) < count) {
        const std::size_t comma = zpl.find(',', pos);
        if (comma == std::string::npos) {
            throw std::runtime_error("missing graphic fields");
        }
        pos = comma + 1;
        numbers.push_back(std::strtol(zpl.c_str() + pos, nullptr, 10));
    }
    pos = zpl.find(',', pos);
    if (pos == std::string::npos) {
        throw std::runtime_error("missing graphic data");
    }
    ++pos;
    return numbers;
}

} // namespace

std::vector<ZplLabel> DecodeZpl(const std::string& zpl) {
    std::vector<ZplLabel> labels;
    GreyImage graphic;
    int width = 0;
    for (std::size_t pos = 0; pos + 3 <= zpl.size();) {
        const std::string command = zpl.substr(pos, 3);
        if (command == "~DG") {
            pos = zpl.find(',', pos); // past the name
            if (pos == std::string::npos) {
                throw std::runtime_error("~DG without fields");
            }
            const std::vector<long> n = Numbers(zpl, pos, 2);
            graphic = ReadGraphic(zpl, pos, n[0], n[1]);
        } else if (zpl.compare(pos, 4, "^GFA") == 0) {
            pos += 4;
            // ^GFA,binary bytes,field bytes,bytes a row,data
            const std::vector<long> n = Numbers(zpl, pos, 3);
            graphic = ReadGraphic(zpl, pos, n[1], n[2]);
        } else if (command == "^PW") {
            width = std::atoi(zpl.c_str() + pos + 3);
            pos += 3;
        } else if (command == "^XZ") {
            if (!graphic.pixels.empty()) {
                labels.push_back({width, std::move(graphic)});
            }
            graphic = GreyImage();
            width = 0;
            pos += 3;
        } else {
            ++pos;
        }
    }
    return labels;
}
