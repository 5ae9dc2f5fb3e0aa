#pragma once

#include <string>
#include <vector>

// A grey image read from a binary PGM (P5) file, 8 bits per pixel.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    unsigned char At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    // Runs of dark pixels (below 128) down column x: {first row, length}.
    std::vector<std::pair<int, int>> DarkRunsInColumn(int x) const;
    // Lengths of the alternating dark and light runs along row y, from its first
    // dark pixel to its last (so dark, light, ..., dark); empty when all light.
    std::vector<int> RunsInRow(int y) const;
    // The middle row of each band of at least minHeight rows whose runs are the
    // same and number at least minRuns: one scanline through each barcode.
    std::vector<int> BarBands(int minHeight, std::size_t minRuns = 15) const;
};

// False when the file is missing or not an 8-bit P5 image.
bool ReadPgm(const std::string& path, GreyImage& image);
