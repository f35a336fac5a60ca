#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ElementRows.h"

namespace torrenta {

// What the element dialogs (and the command line's add) do with the texts the
// engineer typed, held in the kind's row: which fields are missing, how travel
// times are calculated and what is completed before a row is saved. Every
// number is read from its text by the leading-number reading; results are
// written back as "#0.0000" text.

// The columns whose text must not be empty (Tc and velocity never are required),
// in the dialog's order.
std::vector<std::string_view> MissingFields(const BasinRow& row);
std::vector<std::string_view> MissingFields(const SurfaceRow& row);
std::vector<std::string_view> MissingFields(const ChannelRow& row);

// The texts a report row prints (the name, the land use, the surface or
// material description) are each one line of UTF-8 text: throws InputError
// naming the field otherwise. Adding and updating an element both check.
void RequireOneLineTexts(const BasinRow& row);
void RequireOneLineTexts(const SurfaceRow& row);
void RequireOneLineTexts(const ChannelRow& row);

// Calculate: the sheet-flow Tc, with P2 from the 24-hour row of the named
// intensity table. IntensityError or InputError when it cannot be computed;
// the row is then unchanged.
void CalculateOverland(BasinRow& row, const std::string& appFolder,
                       const std::string& intensityTableName);
// The same with the 2-year 24-hour rainfall depth P2 (inches) already read.
void CalculateOverland(BasinRow& row, double p2);
// P2 of the named table: 24 x its 2-year 24-hour intensity.
double TwoYearRainfall(const std::string& appFolder, const std::string& intensityTableName);
// Calculate: velocity and Tc of shallow concentrated flow.
void CalculateShallow(SurfaceRow& row);
// Calculate: Manning velocity and Tc of channel flow.
void CalculateChannel(ChannelRow& row);

// OK: what is calculated before the row is saved. Overland keeps a Tc that is
// already there; shallow flow always recalculates; a channel recalculates both
// values when either is empty. True when it calculated, so a dialog can show
// what its own calculation found before saving.
bool CompleteForSave(BasinRow& row, const std::string& appFolder,
                     const std::string& intensityTableName);
bool CompleteForSave(SurfaceRow& row);
bool CompleteForSave(ChannelRow& row);

// The "Maximum Reached" text of a kind's limit of 20 live elements.
inline constexpr int kMaxLiveElements = 20;
std::string MaximumReachedText(ElementKind kind, std::size_t limit = kMaxLiveElements);

}  // namespace torrenta
