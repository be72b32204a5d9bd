#pragma once

#include "engine/Case.h"
#include "engine/Study.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kolvane {

// How sure an area is: a Monte Carlo over the accuracies the correlations'
// sources state (model/HeatTransferCorrelations.h) and the scatter a user
// gives to the quantities they typed. Each sample multiplies the films and
// the chosen inputs by factors drawn at random, sizes the case and runs the
// dynamic check with the actual area as built.
//
// A band "±X %" is read as the 95 % interval of a normal distribution: the
// GUM (JCGM 100:2008, §4.3.4) recovers the standard uncertainty of a quoted
// 95 % interval by dividing it by 1.96; we divide by 2. So a factor is
// 1 + (X/2)·z, z standard normal truncated at ±3, which keeps every factor
// positive (a scatter is at most 50 %). Every sample's random numbers come from
// (seed, its index) alone (SplitMix64), so a seed gives the same band
// whatever the number of threads.

// A user's scatter on one typed quantity, ±percent.
struct QuantityScatter {
    fid::FieldId id;
    double percent;
};

struct UncertaintyOptions {
    int samples = 2000;
    std::uint64_t seed = 1;
    int threads = 0; // 0: as many as the machine has
    std::vector<QuantityScatter> scatter;
    // False: the films as published, only the scatters vary.
    bool correlations = true;
    // Cancelling (the result then says `cancelled`) and the samples done so
    // far, of all; progress is told from the worker threads, one call at a
    // time, about a hundred times in a run.
    StudyControl control;
};

constexpr int kMaxUncertaintySamples = 1000000;
constexpr double kMaxScatterPercent = 50;

// What a factor multiplies.
enum class FactorKind : unsigned char { OutsideFilm, InsideFilm, SurfaceFilm, Quantity };

struct UncertaintyFactor {
    FactorKind kind;
    fid::FieldId id = fid::kCount; // a Quantity's field
    std::string name;              // "管外膜系数（Chilton–Drew–Jebens，±25 %）"
    double relative = 0;           // X of ±X, 0.25
};

// The area the check needs with one factor alone at 1 − X and at 1 + X;
// NaN where that case could not be sized.
struct TornadoBar {
    std::string factor;
    double low = 0, high = 0;
    double swing() const;
};

struct Percentiles {
    double p10 = 0, p50 = 0, p90 = 0;
};

// The four parts of 1/K, as shares of the whole.
enum class ResistancePart : unsigned char { OutsideFilm, InsideFilm, Fouling, Wall };
struct ResistanceShares {
    double outsideFilm = 0, insideFilm = 0, fouling = 0, wall = 0;
    double of(ResistancePart p) const;
};

struct UncertaintyResult {
    int samples = 0;
    std::uint64_t seed = 0;
    bool cancelled = false;
    // Samples that could not be sized or checked; left out of the band.
    int failed = 0;
    // Samples whose contents never reach the target with the actual area:
    // their time counts as infinite (a P90 may be infinite).
    int unreached = 0;

    // The nominal case: its theoretical area, the area its check needs, and
    // the actual area every sample is checked with.
    double theoreticalArea = 0, nominalAreaNeeded = 0;
    bool hasActualArea = false;
    double actualArea = 0;

    // Over the samples that did not fail; tActual only with an actual area.
    std::optional<Percentiles> areaNeeded, tActual;
    // Per sample, in index order (NaN: failed; tActual +∞: not reached).
    std::vector<double> areaSamples, tActualSamples;

    std::vector<UncertaintyFactor> factors;
    std::vector<TornadoBar> tornado; // largest swing first
    ResistanceShares shares;         // at the nominal values
    ResistancePart controlling = ResistancePart::OutsideFilm;
    // "管外膜热阻占总热阻的62 %：提高搅拌转速效果最明显"
    std::string controllingText;
    // When the actual area is below P90 of the area needed, what the margin
    // leaves uncovered; else "".
    std::string warning;
};

// Why the quantity cannot be given a scatter on the case ("" when it can):
// not a number the user gave, a temperature in °C, or the margin or the
// tolerance, which do not change the area needed.
std::string ScatterProblem(const Case& c, fid::FieldId id);

// Raises Error with a message naming the field or the reason when the
// nominal case cannot be sized or checked, or a scatter is not allowed.
UncertaintyResult RunUncertainty(const Case& c, const UncertaintyOptions& options);

// P-th percentile (0–100) of sorted values, by linear interpolation between
// order statistics (Hyndman & Fan's type 7); +∞ values rank last.
double Percentile(const std::vector<double>& sorted, double p);

// The i-th sample's generator: SplitMix64 (Steele, Lea & Flood, OOPSLA 2014)
// started from (seed, index).
class SampleRandom {
public:
    SampleRandom(std::uint64_t seed, std::uint64_t index);
    std::uint64_t next();
    double uniform(); // (0, 1]
    // Standard normal truncated at ±3 (Box–Muller, the cosine branch).
    double truncatedNormal();

private:
    std::uint64_t state_;
};

} // namespace kolvane
