#include "Pgm.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace {

// Next header number, skipping white space and comments.
bool NextNumber(std::istream& in, int& value) {
    while (in) {
        const int c = in.peek();
        if (c == '#') {
            std::string comment;
            std::getline(in, comment);
        } else if (std::isspace(c)) {
            in.get();
        } else {
            break;
        }
    }
    return static_cast<bool>(in >> value);
}

} // namespace

std::vector<std::pair<int, int>> GreyImage::DarkRunsInColumn(int x) const {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < height; ++y) {
        if (At(x, y) >= 128) {
            continue;
        }
        if (!runs.empty() && runs.back().first + runs.back().second == y) {
            ++runs.back().second;
        } else {
            runs.emplace_back(y, 1);
        }
    }
    return runs;
}

std::vector<int> GreyImage::RunsInRow(int y) const {
    std::vector<int> runs;
    bool dark = false;
    int light = 0; // light pixels since the last dark one
    for (int x = 0; x < width; ++x) {
        const bool d = At(x, y) < 128;
        if (d && !runs.empty() && !dark) {
            runs.push_back(light);
        }
        if (d) {
            if (dark) {
                ++runs.back();
            } else {
                runs.push_back(1);
            }
            light = 0;
        } else if (!runs.empty()) {
            ++light;
        }
        dark = d;
    }
    return runs;
}

std::vector<int> GreyImage::BarBands(int minHeight, std::size_t minRuns) const {
    std::vector<int> middles;
    std::vector<int> band;
    int start = 0;
    for (int y = 0; y <= height; ++y) {
        const std::vector<int> runs = y < height ? RunsInRow(y) : std::vector<int>{};
        if (y < height && runs == band) {
            continue;
        }
        if (band.size() >= minRuns && y - start >= minHeight) {
            middles.push_back((start + y) / 2);
        }
        band = runs;
        start = y;
    }
    return middles;
}

bool ReadPgm(const std::string& path, GreyImage& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic) || magic != "P5" || !NextNumber(in, image.width) ||
        !NextNumber(in, image.height) || !NextNumber(in, maxValue) || maxValue != 255) {
        return false;
    }
    in.get(); // the single white space after the header
    image.pixels.assign(std::size_t(image.width) * image.height, 0);
    in.read(reinterpret_cast<char*>(image.pixels.data()),
            static_cast<std::streamsize>(image.pixels.size()));
    return static_cast<std::size_t>(in.gcount()) == image.pixels.size();
}
