#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "solver/NetworkSolution.h"

namespace torrenta {

// One number of an element as the report prints it: the column it comes from
// (or the derived value's name), the number and its report text.
struct ShownValue {
    std::string_view name;
    double number = 0.0;
    std::string text;
};

// The numbers of one element's report rows, in report order. Plain numbers
// print in general number text, the overland shares as "#0.000" and "#0.0000",
// the channel velocity as "#0.00".
std::vector<ShownValue> ShownValues(const BasinRow& row, const NetworkSolution& solution);
std::vector<ShownValue> ShownValues(const SurfaceRow& row);
std::vector<ShownValue> ShownValues(const ChannelRow& row);

}  // namespace torrenta
