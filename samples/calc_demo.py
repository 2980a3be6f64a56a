"""Prints a few values of the sample family through kx_calc.py, the Python
program kuvatelix-fit generated from family.dat: the forward voltage of the
diode at 1, 10 and 100 mA, at 25 degrees C (a line of the family) and at 50
degrees C (between two lines), with the flag of each.

    python3 samples/calc_demo.py
"""
from kx_calc import kx_calc

print("mA\tdegC\tV\tEFLG")
for celsius in (25.0, 50.0):
    for milliamps in (1.0, 10.0, 100.0):
        flag, volts = kx_calc(milliamps, celsius)
        print("%g\t%g\t%.4f\t%d" % (milliamps, celsius, volts, flag))
