#!/usr/bin/env python3
"""Sweeps the heat load of a heating task and draws the plate count and the two pressure losses against it.

    PYTHONPATH=build/python python3 examples/sweep.py [out/sweep.png] [--from 0.05] [--to 1.2] [--steps 48]

The tasks run in parallel (kalvar.batch); a load the calculation refuses leaves a gap in the curves.
"""
import argparse
import os
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402 (after the backend is chosen)

import kalvar  # noqa: E402


def heating_task(load):
    """The default heating task with the heat load `load`, Гкал/ч."""
    return {"system": "heating", "heating": {"heatLoad": round(load, 4)}}


def quantities(result):
    """Designation, plate count and the pressure losses of the heating and the heated medium, kPa, of one result."""
    heating = result.get("results", {}).get("heating")
    if not heating:  # not a valid task, or the calculation stopped with a message
        return None, None, None, None
    return (heating.get("designation"), heating.get("plateCount"), heating.get("heatingSide", {}).get("loss"),
            heating.get("heatedSide", {}).get("loss"))


def label_series(axes, loads, designations, plates):
    """Names the exchanger ("КM2", "2xКM3") where the sweep passes to another one."""
    previous = None
    for load, designation, count in zip(loads, designations, plates):
        series = designation.split("-")[0] if designation and count is not None else None
        if series and series != previous:
            axes.annotate(series, (load, count), xytext=(-4, 9), textcoords="offset points", fontsize=8)
        previous = series


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", nargs="?", default="out/sweep.png", help="the PNG to write (out/sweep.png)")
    parser.add_argument("--from", dest="low", type=float, default=0.05, help="the first heat load, Гкал/ч")
    parser.add_argument("--to", dest="high", type=float, default=1.2, help="the last heat load, Гкал/ч")
    parser.add_argument("--steps", type=int, default=48, help="how many loads")
    args = parser.parse_args()
    if args.steps < 2 or not 0 < args.low < args.high:
        parser.error("give 0 < --from < --to and at least 2 --steps")

    loads = [args.low + (args.high - args.low) * i / (args.steps - 1) for i in range(args.steps)]
    results = kalvar.batch(map(heating_task, loads))
    designations, plates, heating_loss, heated_loss = zip(*map(quantities, results))
    nan = float("nan")
    gaps = lambda values: [nan if v is None else v for v in values]  # noqa: E731

    figure, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(7, 5.5), dpi=100)
    top.step(loads, gaps(plates), where="mid", color="tab:blue")
    label_series(top, loads, designations, plates)
    top.set_ylabel("Число пластин")
    top.set_ylim(0, max((p for p in plates if p is not None), default=1) * 1.15)
    top.set_title("Отопление: пластины и потери давления по тепловой нагрузке")
    bottom.plot(loads, gaps(heating_loss), marker=".", label="греющая среда")
    bottom.plot(loads, gaps(heated_loss), marker=".", label="нагреваемая среда")
    bottom.set_ylabel("Потери давления, кПа")
    bottom.set_xlabel("Тепловая нагрузка Q, Гкал/ч")
    bottom.legend()
    for axes in (top, bottom):
        axes.grid(True, alpha=0.3)
    figure.tight_layout()

    output = pathlib.Path(args.output)
    output.parent.mkdir(parents=True, exist_ok=True)
    figure.savefig(output)
    print(output)


if __name__ == "__main__":
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    main()
