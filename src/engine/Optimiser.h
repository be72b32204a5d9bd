#pragma once

#include "engine/Study.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kolvane {

// A search for the tube layout that does the case's duty with the least
// tube: every pipe of a series, every pitch and a range of coil diameters
// (coil) or leg lengths (U-tube bundle) that fit the vessel, each evaluated
// with the dynamic check and kept when it reaches the target within the
// heating time inside the limits.

struct DesignPipe {
    int row = 0;                    // 1-based, as the pipe picker shows it
    double outside = 0, inside = 0; // m
};

struct DesignLimits {
    double clearance = 0.1;       // m, between the tubes and the vessel wall
    double velocityMin = 0.5;     // m/s, a single-phase medium in the tubes
    double velocityMax = 2.5;     // m/s
    double steamVelocityMax = 40; // m/s, condensing steam at the inlet
    double maxPressureDrop = 1e5; // Pa
    int sizes = 20;               // coil diameters or leg lengths tried
};

enum class DesignRank { Length, Area, Mass };

struct Design {
    int pipeRow = 0;
    double outside = 0, inside = 0; // m
    double pitch = 0;               // multiples of the outside diameter
    double size = 0;                // coil diameter or leg length, m
    double area = 0;                // actual area, m2
    double length = 0;              // total tube length, m
    double turnsOrPasses = 0;
    double velocity = 0; // m/s: the medium's, or the steam's at the inlet
    double dp = 0;       // Pa
    double margin = 0;   // actual area over the area the dynamic check needs, less 1
    double mass = 0;     // kg of tube, from the tube material's density
};

struct DesignSearch {
    // The best first, at most `keep`, one per pipe (the best of its pitches
    // and sizes; ties go to the smaller pressure drop).
    std::vector<Design> designs;
    std::size_t tried = 0, feasible = 0;
    // Why nothing could be searched ("" when the search ran).
    std::string problem;
    // The room the layouts had: the largest coil diameter or leg length and
    // the liquid height a coil must stay under (0 for a U-tube bundle).
    double sizeMax = 0, heightMax = 0;
};

// The liquid's depth in the vessel from the vessel page's quantities, m;
// NaN when they are not given.
double LiquidHeight(const Case& c);

// A ranked list for a person: the headings after the pipe's column (with
// units; the size, the count and the velocity named for the case's tube
// form and medium) and a design's values under them.
constexpr std::size_t kDesignColumns = 9;
std::array<std::string, kDesignColumns> DesignHeadings(const Case& base);
std::array<double, kDesignColumns> DesignValues(const Design& d);

DesignSearch SearchDesigns(const Case& base, std::span<const DesignPipe> pipes,
                           std::span<const double> pitches, const DesignLimits& limits,
                           DesignRank rank, std::size_t keep = 10,
                           const StudyControl& control = {});

} // namespace kolvane
