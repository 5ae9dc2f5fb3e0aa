#pragma once

#include "Pgm.h"

#include <string>
#include <vector>

// One label of a ZPL job as the printer gets it.
struct ZplLabel {
    int printWidth = 0; // ^PW, in dots; 0 when the label sets none
    GreyImage image;    // its graphic field: 0 where a dot is printed, 255 where not
};

// The labels of a ZPL job, in order: each ends at ^XZ and prints the last graphic
// stored before it (~DG) or placed in it (^GFA), in ASCII hex, compressed or not.
// Throws std::runtime_error on a graphic it cannot read.
std::vector<ZplLabel> DecodeZpl(const std::string& zpl);
