#pragma once

namespace kolvane {

// Wetted (heat-loss) areas of the vessel shapes for a fill coefficient kv
// (the filled fraction of the volume), all in SI units.

// Depth of the liquid cap in a sphere of radius r filled to kv.
double SphereCapDepth(double r, double kv);
// Liquid depth in a horizontal cylinder of diameter d filled to kv; `alpha`
// receives the half-angle of the wetted arc.
double HorizontalTankDepth(double d, double kv, double& alpha);

double SphereLossArea(double volume, double kv);
double CylinderLossArea(double d, double h, double kv);
double BoxLossArea(double l, double h, double w, double kv);
double HorizontalTankLossArea(double d, double l, double kv);

constexpr int kGeometryMaxIterations = 1000;

} // namespace kolvane
