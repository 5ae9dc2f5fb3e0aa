#pragma once

#include "Symbology.h"

#include <string>

// Why symbology refuses label, as one ASCII sentence: a NUL byte, the first byte with no
// value (its place and what the symbology takes), a wrong length, or too long for the
// element buffer.
std::string RefusalReason(const std::string& label, Symbology symbology);

// The same for each encoder, for a label without a NUL byte.
std::string Code39Refusal(const std::string& label);
std::string Code93Refusal(const std::string& label);
std::string Code128Refusal(const std::string& label, int subset);
std::string Ean13Refusal(const std::string& label);
std::string I2of5Refusal(const std::string& label);
