/* Prints a few values of the sample family through kx_calc.c, the C program
 * kuvatelix-fit generated from family.dat: the forward voltage of the diode at
 * 1, 10 and 100 mA, at 25 degrees C (a line of the family) and at 50 degrees C
 * (between two lines), with the flag of each.
 *
 *     cc -std=c99 -ffp-contract=off -o calc_demo samples/calc_demo.c samples/kx_calc.c -lm
 *     ./calc_demo
 */
#include <stdio.h>

int kx_calc(double x, double p, double* y);

int main(void) {
    static const double celsius[] = {25.0, 50.0};
    static const double milliamps[] = {1.0, 10.0, 100.0};
    int i, j;
    printf("mA\tdegC\tV\tEFLG\n");
    for (i = 0; i < 2; ++i) {
        for (j = 0; j < 3; ++j) {
            double volts;
            int flag = kx_calc(milliamps[j], celsius[i], &volts);
            printf("%g\t%g\t%.4f\t%d\n", milliamps[j], celsius[i], volts, flag);
        }
    }
    return 0;
}
