#pragma once
// Control valves on the heating medium: the smallest standard flow capacity above the required Kv.
namespace kalvar {

struct ValveChoice {
    float kvs;  // flow capacity, m³/h
    float bore; // nominal diameter, mm
};

// The valve for a required flow capacity Kv, m³/h.
ValveChoice chooseValve(double kv);

// Required Kv of a heating flow (m³/s) across a pressure drop (kPa): the flow in m³/h over the
// square root of the drop in bar.
double requiredKv(double heatingFlow, double pressureDropKPa);

} // namespace kalvar
