#include "valve.h"

#include <cmath>

namespace kalvar {

namespace {

struct ValveRow {
    double kvAbove;
    ValveChoice valve;
};

constexpr ValveRow valveRows[] = {
    {160, {250, 100}}, {100, {160, 100}}, {63, {100, 100}}, {40, {63, 80}},  {25, {40, 80}},
    {16, {25, 50}},    {10, {16, 50}},    {6.3, {10, 32}},  {4, {6.3f, 25}}, {2.5, {4, 25}},
};
constexpr ValveChoice smallestValve = {2.5f, 15};

} // namespace

ValveChoice chooseValve(double kv) {
    for (const ValveRow& row : valveRows)
        if (kv > row.kvAbove) return row.valve;
    return smallestValve;
}

double requiredKv(double heatingFlow, double pressureDropKPa) {
    return 3600 * heatingFlow / std::pow(pressureDropKPa / 100, 0.5);
}

} // namespace kalvar
