#pragma once

#include <string>

#include "store/ElementRows.h"

namespace torrenta::test {

// One complete element of each kind, the worked examples of the element
// editors with their travel times filled in, placed where a new project's
// first icons land. Tests change what their case is about.

inline BasinRow SampleBasin(const std::string& tag = "Basin1") {
    BasinRow basin;
    basin.BasinTag = tag;
    basin.BasinName = "North Lots";
    basin.BasinX = "650";
    basin.BasinY = "840";
    basin.Area = "3";
    basin.SoilType = "Residential: Single Family areas";
    basin.CVal = "0.4";
    basin.Slope = "0.02";
    basin.TravelLength = "150";
    basin.Deleted = std::string(kLive);
    basin.BasinNType = "Grass, Dense grass";
    basin.BasinN = "0.24";
    basin.Tc = "18.3066";
    return basin;
}

inline SurfaceRow SampleSurface(const std::string& tag = "Surface1") {
    SurfaceRow surface;
    surface.SurfTag = tag;
    surface.SurfName = "Rear Lot Swale";
    surface.SurfX = "650";
    surface.SurfY = "1680";
    surface.SurfSlope = "0.02";
    surface.SurfLength = "500";
    surface.Deleted = std::string(kLive);
    surface.SurfVelocity = "2.2811";
    surface.SurfType = "Unpaved";
    surface.SurfTc = "3.6532";
    return surface;
}

inline ChannelRow SampleChannel(const std::string& tag = "Channel1") {
    ChannelRow channel;
    channel.ChannelTag = tag;
    channel.ChannelName = "Maple Street Ditch";
    channel.ChannelLeft = "650";
    channel.ChannelTop = "2520";
    channel.ChannelArea = "10";
    channel.ChannelWP = "8";
    channel.ChannelSlope = "0.005";
    channel.ChannelLength = "1000";
    channel.ChannelMaterial = "Concrete Channel";
    channel.ChannelN = "0.013";
    channel.Deleted = std::string(kLive);
    channel.ChannelVelocity = "9.3792";
    channel.ChannelTc = "1.7770";
    return channel;
}

}  // namespace torrenta::test
