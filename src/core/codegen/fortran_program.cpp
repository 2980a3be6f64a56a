#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"

namespace kx::core {
namespace {

// The calculation itself, the same for every family: it follows the BASIC
// Calc step for step, as EvaluateCalc does. Fortran has no exceptions: a
// fault is a field of the call's state that every step looks at.
constexpr const char* kCalculation = R"F(
    ! The state of one call, as the BASIC Calc keeps it in its variables. A
    ! run-time error of the calculation sets fault: every step that meets it
    ! returns at once, and kx_calc returns flag 7.
    type :: kx_run
        logical :: fault = .false.
        real(4) :: xxpp = 0.0, yypp = 0.0, x1 = 0.0
        real(4) :: allowance(4) = 0.0  ! 2 % of the size of each limit
        integer :: nnp = 0, nnpb = 0, flag = 0
        logical :: inverse = .false.
        logical :: straight = .false.  ! the third line failed: a straight line through two
        real(4) :: y(kx_lines) = 0.0, xp1(kx_lines) = 0.0
        real(4) :: ans00 = 0.0, ans11 = 0.0, ytgt = 0.0, ypj = 0.0, beki = 0.0
        integer :: sim = 1, nq1 = 0, nq2 = 0
    end type kx_run

    real(4), parameter :: kx_share = 0.02_4  ! 2 %, as a Single
    real(4), parameter :: kx_step = 0.8_4

contains

    ! A value stored in, or computed as, a 32-bit float.
    real(4) function kx_single(r, v)
        type(kx_run), intent(inout) :: r
        real(8), value :: v
        kx_single = 0.0
        if (.not. abs(v) <= real(huge(1.0_4), 8)) then
            r%fault = .true.
        else
            kx_single = real(v, 4)
        end if
    end function kx_single

    real(8) function kx_checked(r, v)
        type(kx_run), intent(inout) :: r
        real(8), value :: v
        kx_checked = 0.0_8
        if (ieee_is_finite(v)) then
            kx_checked = v
        else
            r%fault = .true.
        end if
    end function kx_checked

    real(8) function kx_quotient(r, a, b)
        type(kx_run), intent(inout) :: r
        real(8), value :: a, b
        kx_quotient = 0.0_8
        if (b == 0.0_8) then
            r%fault = .true.
        else
            kx_quotient = kx_checked(r, a / b)
        end if
    end function kx_quotient

    real(4) function kx_float_quotient(r, a, b)
        type(kx_run), intent(inout) :: r
        real(4), value :: a, b
        kx_float_quotient = 0.0
        if (b == 0.0_4) then
            r%fault = .true.
        else
            kx_float_quotient = kx_single(r, real(a, 8) / real(b, 8))
        end if
    end function kx_float_quotient

    real(8) function kx_power(r, base, exponent)
        type(kx_run), intent(inout) :: r
        real(8), value :: base, exponent
        kx_power = 0.0_8
        if ((base < 0.0_8 .and. exponent /= aint(exponent)) .or. &
            (base == 0.0_8 .and. exponent < 0.0_8)) then
            r%fault = .true.
        else
            kx_power = kx_checked(r, base**exponent)
        end if
    end function kx_power

    ! A double result kept as a float: below the smallest normal float it is
    ! 0, beyond the largest it is that value.
    real(4) function kx_stored(r, v)
        type(kx_run), intent(inout) :: r
        real(8), value :: v
        kx_stored = 0.0
        if (abs(v) < 1.1754944e-38_8) return
        if (abs(v) > 3.402823e+38_8) v = sign(3.402823e+38_8, v)
        kx_stored = kx_single(r, v)
    end function kx_stored

    ! The value of section s (1..3) of line k at x1.
    real(8) function kx_equation(r, k, s, x1)
        type(kx_run), intent(inout) :: r
        integer, value :: k, s
        real(4), value :: x1
        integer :: form, system, degree
        real(8) :: c(4), u, p
        kx_equation = 0.0_8
        form = kx_form(s, k)
        c = kx_coefficient(4 * s - 3:4 * s, k)
        if (form < 1 .or. form > 21) return
        system = (form - 1) / 3 + 1
        degree = mod(form - 1, 3) + 1
        u = real(x1, 8)
        if (system == 2 .or. system == 4) then
            if (.not. x1 > 0.0_4) then
                r%fault = .true.
                return
            end if
            u = log(real(x1, 8))
        else if (system == 5 .or. system == 7) then
            u = real(kx_float_quotient(r, 1.0_4, x1), 8)
            if (r%fault) return
        end if
        if (degree == 1) then
            p = c(1) * u + c(2)
        else if (degree == 2) then
            p = c(1) * u**2.0_8 + c(2) * u + c(3)
        else
            p = c(1) * u**3.0_8 + c(2) * u**2.0_8 + c(3) * u + c(4)
        end if
        p = kx_checked(r, p)  ! an overflow on the way leaves an infinity or a NaN
        if (r%fault) return
        if (system == 3 .or. system == 4) then
            kx_equation = kx_checked(r, exp(p))
        else if (system == 6 .or. system == 7) then
            kx_equation = kx_quotient(r, 1.0_8, p)
        else
            kx_equation = p
        end if
    end function kx_equation

    ! The line's value at x1: the first section whose end x1 does not pass.
    real(4) function kx_line_value(r, k, x1)
        type(kx_run), intent(inout) :: r
        integer, value :: k
        real(4), value :: x1
        integer :: s
        real(8) :: v
        kx_line_value = 0.0
        s = 1
        do while (s < kx_sections(k))
            if (.not. x1 > kx_ends(s, k)) exit
            s = s + 1
        end do
        v = kx_equation(r, k, s, x1)
        if (r%fault) return
        kx_line_value = kx_stored(r, v)
    end function kx_line_value

    real(4) function kx_parameter_of(r, k)
        type(kx_run), intent(inout) :: r
        integer, value :: k
        kx_parameter_of = kx_single(r, kx_parameter(k))
    end function kx_parameter_of

    ! Beyond a range widened below and above (both sides are computed).
    logical function kx_outside(r, v, low, below, high, above)
        type(kx_run), intent(inout) :: r
        real(4), value :: v, low, below, high, above
        logical :: under, over
        under = v < kx_single(r, real(low, 8) - real(below, 8))
        over = v > kx_single(r, real(high, 8) + real(above, 8))
        kx_outside = under .or. over
    end function kx_outside

    integer function kx_outside_x(r, x, k)
        type(kx_run), intent(inout) :: r
        real(4), value :: x
        integer, value :: k
        kx_outside_x = 0
        if (kx_outside(r, x, kx_range(1, k), r%allowance(1), kx_range(2, k), r%allowance(2))) &
            kx_outside_x = 1
    end function kx_outside_x

    integer function kx_outside_y(r, y, k)
        type(kx_run), intent(inout) :: r
        real(4), value :: y
        integer, value :: k
        kx_outside_y = 0
        if (kx_outside(r, y, kx_range(3, k), r%allowance(3), kx_range(4, k), r%allowance(4))) &
            kx_outside_y = 1
    end function kx_outside_y

    subroutine kx_set_allowance(r)
        type(kx_run), intent(inout) :: r
        integer :: i
        do i = 1, 4
            r%allowance(i) = kx_single(r, real(abs(kx_limits(i)), 8) * real(kx_share, 8))
        end do
    end subroutine kx_set_allowance

    integer function kx_single_line(r, y)
        type(kx_run), intent(inout) :: r
        real(8), intent(out) :: y
        real(4) :: value
        logical :: out
        y = 0.0_8
        kx_single_line = 1
        if (kx_refuses_non_positive_x == 1 .and. r%xxpp <= 0.0_4 .and. &
            kx_limits(1) > 0.0_4 .and. kx_limits(2) > 0.0_4) return
        kx_single_line = 0
        call kx_set_allowance(r)
        out = kx_outside(r, r%xxpp, kx_limits(1), r%allowance(1), kx_limits(2), r%allowance(2))
        if (r%fault) return
        if (out) kx_single_line = 2
        value = kx_line_value(r, 1, r%xxpp)
        if (r%fault) return
        out = kx_outside(r, value, kx_limits(3), r%allowance(3), kx_limits(4), r%allowance(4))
        if (r%fault) return
        if (out .and. kx_single_line == 0) kx_single_line = 4
        y = real(value, 8)
    end function kx_single_line

    ! The lines whose parameters bracket yypp: interpolation uses nnp - 1, nnp
    ! (and nnp + 1), the range checks nnpb - 1 and nnpb.
    subroutine kx_bracket(r)
        type(kx_run), intent(inout) :: r
        integer :: k
        real(4) :: p
        do k = 1, kx_lines
            p = kx_parameter_of(r, k)
            if (r%fault) return
            if (r%yypp < p) then
                r%nnp = k
                r%nnpb = k
                exit
            end if
        end do
        if (r%nnp == 0 .or. r%nnp == kx_lines) then
            r%nnp = kx_lines - 1
            r%nnpb = kx_lines
        end if
        if (r%nnp == 1) then
            r%nnp = 2
            r%nnpb = 2
        end if
    end subroutine kx_bracket

    logical function kx_used(r, k)
        type(kx_run), intent(in) :: r
        integer, value :: k
        if (r%straight) then
            kx_used = k == r%nnpb - 1 .or. k == r%nnpb
        else
            kx_used = k >= r%nnp - 1 .and. k <= r%nnp + merge(1, 0, kx_lines > 2)
        end if
    end function kx_used

    ! The parameter limit 2 % beyond an end parameter, outward.
    real(4) function kx_parameter_limit(r, p, outward)
        type(kx_run), intent(inout) :: r
        real(8), value :: p
        integer, value :: outward
        real(4) :: share, factor, sgn
        sgn = 0.0_4
        if (p > 0.0_8) sgn = 1.0_4
        if (p < 0.0_8) sgn = -1.0_4
        share = kx_single(r, real(sgn, 8) * real(kx_share, 8))
        if (outward < 0) then
            factor = kx_single(r, 1.0_8 - real(share, 8))
        else
            factor = kx_single(r, 1.0_8 + real(share, 8))
        end if
        kx_parameter_limit = kx_single(r, kx_checked(r, p * real(factor, 8)))
    end function kx_parameter_limit

    ! The value of line k at x1; in the inverse solution x1 also moves toward
    ! the target Y by the ratio of the line's value to it.
    subroutine kx_evaluate_steps(r, k)
        type(kx_run), intent(inout) :: r
        integer, value :: k
        real(4) :: value
        real(8) :: ratio, moved
        logical :: above, up
        value = kx_line_value(r, k, r%x1)
        if (r%fault) return
        r%y(k) = value
        if (.not. r%inverse) return
        r%ypj = value
        ratio = 1.0_8
        if (r%ypj /= 0.0_4) then
            above = kx_single(r, real(r%ypj, 8) - real(r%ytgt, 8)) > 0.0_4
            up = above .eqv. (r%sim == 1)
            if (up) then
                ratio = kx_quotient(r, real(r%ypj, 8), real(r%ytgt, 8))
            else
                ratio = kx_quotient(r, real(r%ytgt, 8), real(r%ypj, 8))
            end if
            if (r%fault) return
        end if
        moved = kx_power(r, abs(ratio), real(r%beki, 8))
        if (r%fault) return
        value = kx_stored(r, kx_checked(r, real(r%x1, 8) * moved))
        if (r%fault) return
        r%x1 = value
    end subroutine kx_evaluate_steps

    ! The same, where a line that cannot be computed at x1 is no failure of
    ! the whole calculation: false for such a line.
    logical function kx_evaluate(r, k)
        type(kx_run), intent(inout) :: r
        integer, value :: k
        r%nq1 = r%nq1 + 1
        r%nq2 = r%nq2 + 1
        call kx_evaluate_steps(r, k)
        kx_evaluate = .not. r%fault
        r%fault = .false.
    end function kx_evaluate

    ! The value at yypp of the curve through the neighbouring lines' values
    ! (or, solved, their X values): a straight line through two, a parabola
    ! through three.
    real(4) function kx_interpolated(r, solved)
        type(kx_run), intent(inout) :: r
        logical, value :: solved
        real(4) :: values(kx_lines), xz1, xz2, xz3, yz1, yz2, yz3, slope, d1, d2
        real(8) :: yq, p1, p2, p3, w1, w2, w3
        integer :: n
        kx_interpolated = 0.0
        if (solved) then
            values = r%xp1
        else
            values = r%y
        end if
        n = r%nnp
        xz1 = kx_parameter_of(r, n - 1)
        xz2 = kx_parameter_of(r, n)
        yz1 = values(n - 1)
        yz2 = values(n)
        if (kx_lines == 2) then
            d1 = kx_single(r, real(yz2, 8) - real(yz1, 8))
            d2 = kx_single(r, real(xz2, 8) - real(xz1, 8))
            if (r%fault) return
            slope = kx_float_quotient(r, d1, d2)
            d1 = kx_single(r, real(r%yypp, 8) - real(xz2, 8))
            if (r%fault) return
            d2 = kx_single(r, real(slope, 8) * real(d1, 8))
            yq = real(kx_single(r, real(d2, 8) + real(yz2, 8)), 8)
        else
            xz3 = kx_parameter_of(r, n + 1)
            yz3 = values(n + 1)
            p1 = kx_checked(r, real(r%yypp, 8) - real(xz1, 8))
            p2 = kx_checked(r, real(r%yypp, 8) - real(xz2, 8))
            p3 = kx_checked(r, real(r%yypp, 8) - real(xz3, 8))
            w1 = 0.0_8
            w2 = 0.0_8
            w3 = 0.0_8
            if (r%straight .and. r%nnpb == n) then
                w1 = kx_quotient(r, p2, kx_checked(r, p2 - p1))
                w2 = kx_quotient(r, p1, kx_checked(r, p1 - p2))
            else if (r%straight) then
                w2 = kx_quotient(r, p3, kx_checked(r, p3 - p2))
                w3 = kx_quotient(r, p2, kx_checked(r, p2 - p3))
            else
                w1 = kx_quotient(r, kx_checked(r, kx_quotient(r, p2, kx_checked(r, p2 - p1)) * p3), &
                                 kx_checked(r, p3 - p1))
                w2 = kx_quotient(r, kx_checked(r, kx_quotient(r, p1, kx_checked(r, p1 - p2)) * p3), &
                                 kx_checked(r, p3 - p2))
                w3 = kx_quotient(r, kx_checked(r, kx_quotient(r, p1, kx_checked(r, p1 - p3)) * p2), &
                                 kx_checked(r, p2 - p3))
            end if
            yq = kx_checked(r, kx_checked(r, kx_checked(r, w1 * real(yz1, 8)) + &
                                                 kx_checked(r, w2 * real(yz2, 8))) + &
                                  kx_checked(r, w3 * real(yz3, 8)))
        end if
        if (r%fault) return
        kx_interpolated = kx_stored(r, yq)
    end function kx_interpolated

    real(8) function kx_miss(r, value, target)
        type(kx_run), intent(inout) :: r
        real(4), value :: value, target
        kx_miss = abs(kx_quotient(r, kx_checked(r, real(value, 8) - real(target, 8)), &
                                  real(target, 8)))
    end function kx_miss

    ! The X at which line k meets the target Y, by steps from x1 = xxpp.
    subroutine kx_solve(r, k)
        type(kx_run), intent(inout) :: r
        integer, value :: k
        real(8) :: previous, change
        logical :: below, above
        real(4) :: p
        previous = 1.0e+15_8
        r%nq1 = 0
        r%nq2 = 0
        r%x1 = r%xxpp
        r%sim = 1
        r%beki = kx_step
        do
            change = kx_miss(r, r%ypj, r%ytgt)
            if (r%fault) return
            if (change < 0.0001_8 .and. r%nq1 > 3) exit
            if (.not. kx_evaluate(r, k)) exit
            if (r%nq1 > 200) exit
            change = kx_miss(r, r%ypj, r%ytgt)
            if (r%fault) return
            if (previous /= 1.0e+15_8) then
                below = real(r%x1, 8) < kx_checked(r, real(kx_limits(1), 8) - &
                                                   kx_checked(r, real(abs(kx_limits(1)), 8) * 0.5_8))
                above = r%x1 > kx_single(r, real(kx_limits(2), 8) + real(abs(kx_limits(2)), 8))
                if (r%fault) return
                if (below .or. above) r%x1 = r%xxpp
                if (change > previous .and. r%nq2 > 2) then
                    r%x1 = r%xxpp
                    r%beki = kx_single(r, real(r%beki, 8) * 0.8_8)
                    r%sim = -r%sim
                    r%nq2 = 0
                end if
            end if
            previous = change
        end do
        r%xp1(k) = r%x1
        p = kx_parameter_of(r, k)
    end subroutine kx_solve

    ! The inverse solution: the Y whose interpolated X is xxpp, by steps from
    ! the interpolated Y.
    subroutine kx_inverse(r)
        type(kx_run), intent(inout) :: r
        real(4) :: ans22, ans33, beki5
        real(8) :: previous, change, ratio, yq, agreement
        integer :: simz, nq5, nq6, k, outside
        logical :: above, up, agree
        ans22 = kx_single(r, 1.0e+15_8)
        beki5 = kx_step
        previous = 1.0e+15_8
        simz = 1
        nq5 = 0
        nq6 = 0
        r%ytgt = r%ans11
        r%x1 = r%xxpp
        r%inverse = .true.
        do
            change = kx_miss(r, r%xxpp, ans22)
            if (r%fault) return
            if (change < 0.0001_8 .and. nq5 > 3) exit
            nq5 = nq5 + 1
            nq6 = nq6 + 1
            do k = 1, kx_lines
                if (kx_used(r, k)) call kx_solve(r, k)
                if (r%fault) return
            end do
            ans22 = kx_interpolated(r, .true.)
            if (r%fault) return
            if (ans22 == 0.0_4) exit
            r%ypj = r%xxpp
            above = kx_single(r, real(r%ypj, 8) - real(ans22, 8)) > 0.0_4
            up = above .eqv. (simz == 1)
            if (up) then
                ratio = kx_quotient(r, real(r%xxpp, 8), real(ans22, 8))
            else
                ratio = kx_quotient(r, real(ans22, 8), real(r%xxpp, 8))
            end if
            if (r%fault) return
            yq = kx_checked(r, real(r%ytgt, 8) * kx_power(r, abs(ratio), real(beki5, 8)))
            if (r%fault) return
            if (abs(yq) < 1.1754944e-38_8 .or. abs(yq) > 3.402823e+38_8) exit
            r%ytgt = kx_single(r, yq)
            if (nq5 > 300) exit
            change = kx_miss(r, r%ypj, ans22)
            if (r%fault) return
            if (previous /= 1.0e+15_8 .and. change > previous .and. nq6 > 2) then
                r%ytgt = r%ans11
                beki5 = kx_single(r, real(beki5, 8) * 0.8_8)
                simz = -simz
                nq6 = 0
            end if
            previous = change
        end do
        if (r%ans11 /= 0.0_4) then
            agreement = kx_quotient(r, real(r%ans11, 8) - real(r%ytgt, 8), real(r%ans11, 8))
        else
            agreement = kx_quotient(r, real(r%ans11, 8) - real(r%ytgt, 8), real(r%ytgt, 8))
        end if
        if (r%fault) return
        ! Only answers that agree within 1 % are one, converged or not.
        agree = abs(agreement) <= 0.01_8
        if (.not. agree .and. r%flag == 0) r%flag = 6
        ans33 = r%ytgt
        outside = 0
        do k = r%nnpb - 1, r%nnpb
            outside = outside + kx_outside_x(r, r%xp1(k), k)
        end do
        if (r%fault) return
        if (outside == 2 .and. r%flag == 0) r%flag = 5
        if (agree) then
            r%ans00 = kx_single(r, real(kx_single(r, real(r%ans11, 8) + real(ans33, 8)), 8) * 0.5_8)
        else
            r%ans00 = r%ans11
        end if
    end subroutine kx_inverse

    integer function kx_family(r, y)
        type(kx_run), intent(inout) :: r
        real(8), intent(out) :: y
        integer :: k, outside
        logical :: low, high, computed(kx_lines)
        real(4) :: unused
        y = 0.0_8
        kx_family = 1
        call kx_bracket(r)
        if (r%fault) return
        if (kx_refuses_non_positive_x == 1 .and. r%xxpp <= 0.0_4) then
            do k = r%nnpb - 1, r%nnpb
                if (kx_range(1, k) > 0.0_4 .and. kx_range(2, k) > 0.0_4) return
            end do
        end if
        call kx_set_allowance(r)
        outside = 0
        do k = r%nnpb - 1, r%nnpb
            outside = outside + kx_outside_x(r, r%xxpp, k)
        end do
        if (r%fault) return
        if (outside == 2) r%flag = 2
        ! computed and stored, though nothing reads it
        unused = kx_single(r, kx_checked(r, kx_checked(r, kx_parameter(kx_lines) - &
                                                          kx_parameter(1)) * real(kx_share, 8)))
        if (r%fault) return
        low = r%yypp < kx_parameter_limit(r, kx_parameter(1), -1)
        high = r%yypp > kx_parameter_limit(r, kx_parameter(kx_lines), 1)
        if (r%fault) return
        if ((low .or. high) .and. r%flag == 0) r%flag = 3
        ! Only the lines the interpolation uses; a bracketing line that cannot
        ! be computed leaves no answer, a third line the straight line.
        computed = .false.
        do k = 1, kx_lines
            if (kx_used(r, k)) computed(k) = kx_evaluate(r, k)
        end do
        if (.not. computed(r%nnpb - 1) .or. .not. computed(r%nnpb)) then
            r%fault = .true.
            return
        end if
        do k = 1, kx_lines
            if (kx_used(r, k) .and. .not. computed(k)) r%straight = .true.
        end do
        r%ans11 = kx_interpolated(r, .false.)
        if (r%fault) return
        r%ans00 = r%ans11
        outside = 0
        do k = r%nnpb - 1, r%nnpb
            outside = outside + kx_outside_y(r, r%ans11, k)
        end do
        if (r%fault) return
        if (outside == 2 .and. r%flag == 0) r%flag = 4
        ! The inverse solution moves X and Y by ratios: it cannot start from 0.
        if (r%xxpp /= 0.0_4 .and. r%ans11 /= 0.0_4) call kx_inverse(r)
        if (r%fault) return
        kx_family = r%flag
        y = real(r%ans00, 8)
    end function kx_family

    ! The flag of the family at X = x and the parameter p; the value in y.
    integer function kx_calc(x, p, y)
        real(8), intent(in) :: x, p
        real(8), intent(out) :: y
        type(kx_run) :: r
        r%xxpp = kx_single(r, x)
        r%x1 = r%xxpp
        r%yypp = kx_single(r, p)
        if (.not. r%fault) then
            if (kx_lines == 1) then
                kx_calc = kx_single_line(r, y)
            else
                kx_calc = kx_family(r, y)
            end if
        end if
        if (r%fault) then
            kx_calc = 7
            y = 0.0_8
        end if
    end function kx_calc

end module kx_calc_mod
)F";

std::string Integer(int value) {
    return std::to_string(value);
}

// Every real literal is a real(8); the Singles are rounded from it by real().
std::string Real(double value) {
    return DoubleSource(value) + "_8";
}

std::string Single(float value) {
    return FloatSourcePython(value) + "_8";
}

constexpr ValueSyntax kSyntax{Integer, Single, Real};

std::string TypeOf(const SourceTable& table) {
    return table.kind == TableKind::kInteger  ? "integer"
           : table.kind == TableKind::kSingle ? "real(4)"
                                              : "real(8)";
}

// A table of rows is stored a column a line: kx_range(1:4, k).
void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    const std::string columns = std::to_string(table.columns);
    const std::string shape = !table.perLine  ? columns
                              : IsList(table) ? std::string("kx_lines")
                                              : columns + ", kx_lines";
    out << "    ! " << table.meaning << "\n    " << TypeOf(table) << ", parameter :: kx_"
        << table.name << "(" << shape << ") = ";
    const bool reshaped = table.perLine && !IsList(table);
    if (reshaped) out << "reshape(";
    if (singles) out << "real(";
    out << "[";
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 4, "        ", ", &");
    } else {
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            out << " &\n        ! " << table.rowNotes[row] << "\n        "
                << WrappedList(RowTexts(table, row, kSyntax), 4, "        ", ", &")
                << (row + 1 < table.rows.size() ? "," : "");
        }
    }
    out << "]";
    if (singles) out << ", 4)";
    if (reshaped) out << ", [" << shape << "])";
    out << "\n";
}

}  // namespace

std::vector<std::string> CalcProgramInFortran(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kFortran))
        out << line << "\n";
    out << "module kx_calc_mod\n"
        << "    use, intrinsic :: ieee_arithmetic, only: ieee_is_finite\n"
        << "    implicit none\n    private\n    public :: kx_calc\n\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "    ! " << scalar.meaning << "\n    integer, parameter :: kx_" << scalar.name
            << " = " << scalar.value << "\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    out << kCalculation;
    return SourceLines(out.str());
}

}  // namespace kx::core
