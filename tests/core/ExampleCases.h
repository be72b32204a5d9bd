#pragma once

#include "engine/Case.h"

#include <utility>

namespace kolvane::testing_support {

// The steam-heated coil of examples/steam-coil-reactor.kvp, typed in SI by
// hand: 4.725 t of product 25 → 90 °C in 90 min, 133.5 °C steam in a
// stainless 57×3.5 coil, turbine stirrer, rock-wool insulation to air.
inline Case SteamCoil() {
    using namespace fid;
    Case c;
    c.options = {.phase = Phase::Condensing,
                 .tube = TubeForm::Coil,
                 .stirred = true,
                 .loss = LossTo::Air,
                 .vessel = 1,
                 .tubeMaterial = 1,
                 .vesselMaterial = 1,
                 .insulation = 0,
                 .stirrer = 0};
    const std::pair<FieldId, double> inputs[] = {
        {TaoD, 5400},   {sfD, 20},        {SetErrD, 1e-6}, {MaoD, 4725},  {CopD, 3900},
        {Tom1D, 25},    {Tom2D, 90},      {VioD, 0.0008},  {LdoD, 0.6},   {DenoD, 1050},
        {BpD, 0.08},    {TeD, 20},        {AeD, 12.54469}, {StD, 0.008},  {Ti1D, 133.5},
        {Ti2D, 133.5},  {DHiD, 2163000},  {ViiD, 0.00021}, {LdiD, 0.686}, {DeniD, 931},
        {denivD, 1.65}, {ViivD, 1.35e-5}, {LaiD, 0.5},     {dioD, 0.057}, {diiD, 0.05},
        {RiD, 0.0001},  {EiD, 5e-5},      {RoD, 0.0002},   {DspD, 2},     {SlD, 1.4},
        {VsD, 5},       {KvD, 0.9},       {DsD, 1.8},      {midD, 0.6},   {rvD, 2}};
    for (const auto& [id, v] : inputs)
        c.give(id, v);
    for (FieldId off : {BtoD, CipD, WsD})
        c[off].enabled = false;
    return c;
}

} // namespace kolvane::testing_support
