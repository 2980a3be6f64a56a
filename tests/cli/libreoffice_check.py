#!/usr/bin/env python3
"""Runs the generated Calc in LibreOffice Basic at every point and midpoint
that `kuvatelix-fit --check` lists, and compares its answers and flags with
the ones the check prints (the core's evaluator of the program).

    libreoffice_check.py KUVATELIX_FIT LORUN DATA_FILE [DATA_FILE ...]

LORUN runs Basic modules headless in LibreOffice (a runner of the workplace,
not of this project). Exit status 0 when every answer agrees, 1 when one does
not, 77 (the test's skip) when LibreOffice or the runner is not there.
"""
import os
import subprocess
import sys
import tempfile

SKIP = 77
# A Single's last places, and the flags exactly: an end point in the wrong
# section is off by far more.
TOLERANCE = 2e-6


def check_rows(fit, data):
    """(x text, parameter text, Calc, flag) of every point and midpoint."""
    out = subprocess.run([fit, "--check", data], capture_output=True, text=True).stdout
    rows, block = [], 0
    for line in out.splitlines():
        fields = line.split("\t")
        if not line:
            block += 1
            continue
        if fields[0] == "Line":
            continue
        if block == 1:  # Line, Parameter, Point, X, Y, Calc, Deviation, EFLG
            rows.append((fields[3], fields[1], float(fields[5]), int(fields[7])))
        elif block == 2:  # Line, Parameter, Between, X, Interpolated, Traced, Calc, ...
            rows.append((fields[3], fields[1], float(fields[6]), int(fields[8])))
    return rows


def driver(rows, out_path):
    lines = ["Sub Main", "   Dim fn As Integer, a As Single, f As Integer",
             "   On Error Resume Next", "   fn = FreeFile",
             '   Open "%s" For Output As #fn' % out_path]
    for x, p, _, _ in rows:
        # Val reads the texts whatever the locale; CSng rounds them as a Single.
        lines.append('   a = 0: f = -1: Call Calc(CSng(Val("%s")), CSng(Val("%s")), a, f)' % (x, p))
        lines.append('   Print #fn, Str$(CDbl(a)) & " " & f')
    lines += ["   Close #fn", "End Sub", ""]
    return "\n".join(lines)


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    fit, lorun, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    if not os.path.exists(lorun) or not os.path.exists("/usr/lib/libreoffice/program/soffice.bin"):
        print("LibreOffice or its runner is not installed here; skipped")
        return SKIP
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for data in files:
            program = subprocess.run([fit, data], capture_output=True, text=True).stdout
            rows = check_rows(fit, data)
            out_path = os.path.join(work, "answers.txt")
            with open(os.path.join(work, "calc.bas"), "w", encoding="utf-8") as f:
                f.write(program)
            with open(os.path.join(work, "driver.bas"), "w", encoding="utf-8") as f:
                f.write(driver(rows, out_path))
            run = subprocess.run(["/usr/bin/python3", lorun, "--timeout", "300",
                                  "Prog=" + os.path.join(work, "calc.bas"),
                                  "Driver=" + os.path.join(work, "driver.bas")],
                                 capture_output=True, text=True)
            if run.returncode != 0 or not os.path.exists(out_path):
                print("%s: LibreOffice did not run the program:\n%s%s"
                      % (data, run.stdout, run.stderr))
                return 1
            with open(out_path, encoding="utf-8", errors="replace") as f:
                answers = [line.split() for line in f if line.strip()]
            if len(answers) != len(rows):
                print("%s: %d answers for %d probes" % (data, len(answers), len(rows)))
                return 1
            for (x, p, calc, flag), (value, lo_flag) in zip(rows, answers):
                value = float(value)
                near = abs(value - calc) <= TOLERANCE * max(abs(calc), 1e-30)
                if not near or int(lo_flag) != flag:
                    failures += 1
                    if failures <= 10:
                        print("%s: X %s parameter %s: LibreOffice %r flag %s, the check %r flag %d"
                              % (data, x, p, value, lo_flag, calc, flag))
            print("%s: %d probes compared" % (data, len(rows)))
    if failures:
        print("%d answers differ" % failures)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
