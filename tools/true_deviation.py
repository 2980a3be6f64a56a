#!/usr/bin/env python3
"""How far the generated program lies from the true curve between the points
of a hand capture.

    tools/true_deviation.py KUVATELIX_FIT [--seeds N]

Draws captures as a user clicks them off two charts, a dozen points a curve
with the scatter of a click (about 1 % of the value on a logarithmic axis, a
fraction of the scale on a linear one): two thermistor curves (resistance
against temperature, B = 3950 K, 10 and 47 kilohms at 25 degrees) and two
battery discharge curves (voltage against seconds at 0.5 C and 1 C). Each
capture is fitted with KUVATELIX_FIT --lang python, and the program is
evaluated at 400 X across every curve's range against the true function.
Prints per chart and capture the worst relative deviation at the captured
points and between them, and the worst of all captures.
"""
import argparse
import importlib.util
import math
import os
import random
import subprocess
import sys
import tempfile


def thermistor(t, r25):
    return r25 * math.exp(3950 * (1 / (t + 273.15) - 1 / 298.15))


def battery(seconds, c_rate):
    q = 100 * seconds * c_rate / 3600  # share of the charge used, %
    return 4.15 - 0.12 * c_rate - 0.006 * q - 0.35 * math.exp((q - 100) / 6)


CHARTS = {
    # name: (function, parameters, X range, points, log Y, scatter)
    "thermistor": (thermistor, (10.0, 47.0), (-40.0, 125.0), 12, True, 0.01),
    "battery": (battery, (0.5, 1.0), None, 11, False, 0.004),
}


def capture(chart, seed):
    f, parameters, x_range, count, log_y, scatter = CHARTS[chart]
    rng = random.Random(seed)
    lines = []
    for p in parameters:
        lo, hi = x_range if x_range else (0.0, 3600 / p * 0.98)
        # Clicks spread over the curve, not evenly, and off by a little.
        xs = sorted(lo + (hi - lo) * (i + rng.uniform(-0.3, 0.3)) / (count - 1)
                    for i in range(count))
        xs[0], xs[-1] = lo, hi
        points = []
        for x in xs:
            y = f(x, p)
            y = y * math.exp(rng.gauss(0, scatter)) if log_y else y + rng.gauss(0, scatter) * y
            points.append((x, y))
        lines.append((p, points))
    return lines


def data_file(lines):
    text = ""
    for p, points in lines:
        text += "%g, 1 , %d\r\n" % (p, len(points))
        text += "".join("%.5g,%.5g\r\n" % xy for xy in points)
    return text


def worst(fit, chart, lines, work):
    path = os.path.join(work, "capture.dat")
    with open(path, "w", newline="") as out:
        out.write(data_file(lines))
    source = os.path.join(work, "kx_calc_%s.py" % chart)
    result = subprocess.run([fit, "--lang", "python", path], capture_output=True, text=True)
    if not result.stdout:
        raise SystemExit("%s: %s" % (fit, result.stderr))
    with open(source, "w") as out:
        out.write(result.stdout)
    spec = importlib.util.spec_from_file_location("kx_calc_" + chart, source)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    f = CHARTS[chart][0]
    at_points, between = 0.0, 0.0
    for p, points in lines:
        for x, y in points:
            _, value = module.kx_calc(x, p)
            at_points = max(at_points, abs(value - y) / abs(y))
        lo, hi = points[0][0], points[-1][0]
        for i in range(401):
            x = lo + (hi - lo) * i / 400
            flag, value = module.kx_calc(x, p)
            truth = f(x, p)
            between = max(between, abs(value - truth) / abs(truth) if flag != 7 else math.inf)
    return at_points, between


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fit")
    parser.add_argument("--seeds", type=int, default=5)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        for chart in CHARTS:
            worst_between = 0.0
            for seed in range(1, args.seeds + 1):
                at_points, between = worst(args.fit, chart, capture(chart, seed), work)
                worst_between = max(worst_between, between)
                print("%-10s capture %d: worst at the points %6.2f %%, against the true curve "
                      "%6.2f %%" % (chart, seed, 100 * at_points, 100 * between))
            print("%-10s worst of %d captures against the true curve: %.2f %%"
                  % (chart, args.seeds, 100 * worst_between))
    return 0


if __name__ == "__main__":
    sys.exit(main())
