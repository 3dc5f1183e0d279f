#!/usr/bin/python3
"""Derives the expected estimate texts of the test fixtures, independently of the C++ code.

Single-precision constants are rounded through struct's 'f' format and used as doubles;
currency steps scale by 10000 in double and round halves to even, exact in Decimal after;
shown figures are taken to 15 significant digits and rounded halves away from zero.
Prints the C++ table rows used by the tests.
Run: /usr/bin/python3 tests/estimates/derive_expected.py
"""
import math
import struct
from decimal import Decimal, ROUND_HALF_EVEN, ROUND_HALF_UP


def f32(x):
    return struct.unpack('f', struct.pack('f', x))[0]


def cur(x):
    """Double to currency as the program converts it: scaled by 10000 in double
    precision, then rounded to a whole count, halves to even. Returned as Decimal."""
    return Decimal(round(x * 10000)) / 10000


class Loc:
    def __init__(self, sep):
        self.sep = sep

    def show(self, x, decimals):
        if not math.isfinite(x):
            x = 0.0
        d = Decimal('%.14e' % x)
        q = d.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP)
        s = format(q, 'f')
        if s.startswith('-') and Decimal(s) == 0:
            s = s[1:]
        return s.replace('.', self.sep)

    def plain(self, x):
        if not math.isfinite(x) or x == 0:
            return '0'
        d = Decimal('%.14e' % x)
        s = format(d, 'f')
        if '.' in s:
            s = s.rstrip('0').rstrip('.')
        return s.replace('.', self.sep)

    def cur_text(self, c, decimals=None):
        if decimals is None:
            s = format(c.normalize(), 'f')
            if '.' in s:
                s = s.rstrip('0').rstrip('.')
        else:
            s = format(c.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP), 'f')
        return s.replace('.', self.sep)

    def read(self, text):
        try:
            return float(text.replace(self.sep, '.'))
        except ValueError:
            return 0.0


POSITIONS = {  # row: (default salary, salary coefficient)
    1: (10092, 1.074074), 2: (9396, 1), 3: (9396, 1), 4: (9744, 1.037037),
    5: (9744, 1.037037), 6: (9744, 1.037037), 7: (9744, 1.037037), 8: (9744, 1.037037),
    9: (10092, 1.074074), 10: (10092, 1.074074), 11: (10875, 1.1574074),
    12: (10875, 1.1574074), 14: (7985, 0.9178353), 15: (29944, 3.4418824),
    16: (23956, 2.753506), 17: (20961, 2.4093177), 18: (9981, 1.1472942),
    19: (23956, 2.753506), 20: (14972, 1.7209412), 21: (7985, 0.9178353),
    22: (7985, 0.9178353), 24: (7985, 0.9178353),
}
SET_A = [0.25, 0.33333334, 0.41666666, 0.5, 0.6666667, 0.8333333, 1, 1.1666666, 1.1666666]
SET_B = [1, 1.3333334, 2, 2.5, 3.3333333, 4]
WEIGHTS = [  # row, K, age, stay, orientation
    (1, 0.09548611, [2, 1.3333334, 1], [0.24, 0.32, 0.4, 0.48, 0.64, 0.84, 1, 1.16, 1.16],
     [1, 1.3333334, 2.88, 3.6, 4.8, 5.76]),
    (2, 0.01375, [0, 1.3333334, 1], SET_A, SET_B),
    (3, 0.006875, [0, 0, 1], SET_A, SET_B),
    (10, 0.01375, [2, 1.3333334, 1], SET_A, SET_B),
    (12, 0.055, [2, 1.3333334, 1],
     [0.25, 0.33333334, 0.5, 0.5, 0.6666667, 0.8333333, 1, 1.1666666, 1.1666666],
     [0, 0, 2, 2.5, 3.3333333, 4]),
    (14, 0.0859375, [2, 1.3333334, 1], [0.24, 0.32, 0.4, 0.48, 0.64, 0.84, 1, 1.16, 2.04],
     [1, 1.5201677, 2.0522263, 2.8503144, 3.4203773, 4.560503]),
]
ADMIN = [  # first group count of the line, units of rows 15..22
    (1, [1, 0, 0, 0.5, 0.25, 0.25, 0.5, 0.25]), (4, [1, 0.5, 0, 1, 0.25, 0.25, 0.5, 0.25]),
    (5, [1, 1, 0, 1, 0.5, 0.5, 0.5, 0.25]), (6, [1, 1, 0, 1, 0.5, 0.5, 1, 0.5]),
    (8, [1, 1, 1, 0, 0.5, 0.5, 1, 0.5]), (10, [1, 1, 1, 0, 0.75, 0.75, 1, 0.5]),
    (12, [1, 1, 1, 0, 0.75, 0.75, 1, 0.75]), (16, [1, 1.5, 1, 0, 0.75, 0.75, 1, 1]),
    (20, [1, 2, 1, 1, 0.75, 0.75, 1, 1]), (22, [1, 2, 1, 1, 1, 1, 1, 1]),
    (28, [1, 3, 1, 1, 1, 1, 1, 1]),
]
SERVICE_BASE = [10888.009, 7397.7026, 251.46869, 16191.369, 22.206137, 2400.715, 936.28345,
                3564.1536]
M3 = ([1, 1, 1], [0.234008, 0.234008, 0.234008, 1, 1, 1, 1, 1, 1.3217875],
      [1, 1.490201, 1.490201, 1.490201, 1.490201, 1.490201])


def load_factor(records, pupils, age_w, stay_w, orient_w, currency_orientation):
    load = 0.0
    for (age, stay, orient, count) in records:
        a = f32(age_w[age - 1]) if age else 0.0
        s = f32(stay_w[stay - 1]) if stay else 0.0
        if currency_orientation:
            o = float(cur(f32(orient_w[orient - 1]))) if orient else 0.0
        else:
            o = f32(orient_w[orient - 1]) if orient else 0.0
        g = cur(a * s * o)
        weighted = (g * cur(count)).quantize(Decimal('0.0001'), rounding=ROUND_HALF_EVEN)
        load += float(weighted) / pupils
    return load


def m3_load_factor(records, pupils):
    """The standard service items' load factor as the normative calculation keeps it."""
    load = 0.0
    for (age, stay, orient, count) in records:
        o = float(cur(f32(M3[2][orient - 1])))
        g = cur(f32(M3[0][age - 1]) * f32(M3[1][stay - 1]) * o)
        load += float((g * cur(count)).quantize(Decimal('0.0001'), ROUND_HALF_EVEN)) / pupils
    return load


def payroll(c, L):
    N = c['pupils']
    own_pay = c['own_payroll']
    P, C, I = c['fund'], c['compensation'], c['incentive']
    base = P - C - I
    F = 1 + (I / base + C / base)
    week = 1.0 if c['five_day'] else f32(1.2)
    year = f32(1.0909091) if c['months'] > 11 else 1.0
    Y, vil, kind = c['year_index'], c['village'], c['kind']
    six, long_year = c['six_day'], c['long_year']
    share = f32(0.9355693)

    def salary(row):
        d, k = POSITIONS[row]
        return f32(k) * c['min_salary'] if own_pay else float(d)

    grid = {}
    rate = {r: 0.0 for r in range(1, 26)}
    for (row, K, aw, sw, ow) in WEIGHTS:
        lf = load_factor(c['records'], N, aw, sw, ow, row == 1)
        if row == 14:
            rate[14] = float(cur(f32(K) * (lf * (six * long_year))))
        else:
            rate[row] = f32(K) * (lf * (year * week))
    G = c['groups']
    units = [0] * 8
    if G >= 1 and G == int(G):
        for first, u in ADMIN:
            if G >= first:
                units = u
    for i in range(8):
        rate[15 + i] = units[i] / N if N else float('nan')
    for row in range(1, 13):
        r, s = rate[row], salary(row)
        cost = Y * 12 * r * (100 + kind * vil * F * share * s)
        col3 = '0' if row >= 2 and r == 0 else L.show(kind * vil * F * s, 0)
        grid[row] = [L.show(r, 3), L.show(N * r, 3), col3, L.show(cost, 0), L.show(N * cost, 0)]

    def total(row, rows, with_share):
        rates = 0.0
        costs = 0.0
        for q in rows:
            rates += rate[q]
            costs += L.read(grid[q][3])
        c1 = L.show(rates, 3)
        c2 = L.show(N * L.read(c1), 3)
        c4 = L.show(costs, 0)
        c5 = L.show(N * L.read(c4), 0)
        if with_share:
            c3 = L.show(L.read(c4) / (share * Y * 12 * L.read(c1)) - 100
                        if L.read(c1) else float('nan'), 0)
        else:
            c3 = L.show(L.read(c4) / (Y * 12 * L.read(c1)) if L.read(c1) else float('nan'), 0)
        grid[row] = [c1, c2, c3, c4, c5]

    total(13, range(1, 13), True)
    s14 = salary(14)
    cost14 = Y * 12 * rate[14] * F * share * s14
    grid[14] = [L.show(rate[14], 3), L.show(N * rate[14], 3), L.show(F * s14, 0),
                L.show(cost14, 0), L.show(N * cost14, 0)]
    for row in range(15, 23):
        r, s = rate[row], salary(row)
        cost = Y * 12 * r * F * s
        grid[row] = [L.show(r, 3), L.show(N * r, 3), L.show(F * s, 0), L.show(cost, 0),
                     L.show(N * cost, 0)]
    total(23, range(15, 23), False)
    S = F * salary(24)
    D = Y * 12 * S
    if c['own_services']:
        pp = c['cost_index'] * c['service_fund']
        c5 = L.show(N * pp, 0)
        c4 = L.show(L.read(c5) / N, 0)
        grid[24] = [L.show(pp / D, 3), L.show(N * pp / D, 3), L.show(S, 0), c4, c5]
    else:
        norm = f32(SERVICE_BASE[0]) * 1 * 1 * 1 * 1 * c['item_load']
        grid[24] = [L.show(norm / D, 3), L.show(N * norm / D, 3), L.show(S, 0),
                    L.show(norm, 0), L.show(N * norm, 0)]
    u = sum((cur(L.read(grid[q][1])) for q in (13, 14, 23, 24)), Decimal(0))
    c2 = L.cur_text(u, 2)
    c1 = L.show(L.read(c2) / N, 3)
    k = sum((cur(L.read(grid[q][3])) for q in (13, 14, 23, 24)), Decimal(0))
    c4 = L.cur_text(k)
    c5 = L.show(N * L.read(c4), 0)
    c3 = L.show(L.read(c4) / (Y * 12 * L.read(c1)), 0)
    grid[25] = [c1, c2, c3, c4, c5]
    return grid


def subsidy_text(c, L):
    N = c['pupils']
    t2 = L.show(c['maintenance_norm'], 0)
    t5 = L.show(L.read(t2) * N, 0)
    return L.show(c['education_norm'] * N + L.read(t5), 0)


def services(c, L, payroll_total):
    N = c['pupils']
    out = {}

    def line(k, total):
        out[120 + 2 * k] = L.show(total, 2)
        out[119 + 2 * k] = L.show(L.read(out[120 + 2 * k]) / N if N else float('nan'), 0)

    see = 'см. пр. расх.'
    if c['own_services']:
        a = c['answers']
        idx = c['cost_index']
        heat = a['HeatTariff'] * (a['HeatEnergyVolume'] * 0.5)
        w = (a['ColdWaterTariff'] * a['ColdWaterVolume'] + a['SewageTariff'] * a['SewageVolume']
             + a['HotWaterTariff'] * a['HotWaterVolume']
             + a['WaterHeatingTariff'] * a['HeatedWaterVolume'])
        line(1, w + (heat + a['ElectricityTariff'] * (a['ElectricityVolume'] * 0.9))
             + 1.0 * (heat + a['ElectricityTariff'] * (a['ElectricityVolume'] * 0.1)))
        out[123] = out[124] = see
        line(3, N * (idx * a['FoodAndServicesCosts']))
        out[127] = out[128] = see
        upkeep = (a['FireSafetyCosts'] + a['SecurityAlarmCosts'] + a['TerritoryCosts']
                  + a['MovablePropertyCosts'] + a['InsuranceCosts'])
        taxes = (a['PropertyTaxRate'] * (a['PropertyValueJan1'] + a['PropertyValueDec1']) / 200
                 + a['LandTaxRate'] * a['LandCadastralValue'] / 100)
        line(5, N * (idx * upkeep) + a['RepairCostPerM2'] * (a['BuildingArea'] * 0.33)
             + 1.0 * taxes)
    else:
        norm = [f32(b) * c['item_load'] for b in SERVICE_BASE]
        line(1, norm[1] * N)
        line(2, norm[2] * N)
        line(3, norm[3] * N)
        line(4, norm[4] * N)
        line(5, N * (norm[5] + norm[6]))
    t6 = L.read(subsidy_text(c, L))
    line(6, ((t6 + N * (c['months'] * c['fee'])) - L.read(payroll_total))
         - (L.read(out[126]) + L.read(out[130]) + L.read(out[122])))
    g = L.read(out[132]) + L.read(out[130]) + L.read(out[126]) + L.read(out[122])
    out[134] = L.plain(g)
    out[133] = L.show(L.read(out[134]) / N if N else float('nan'), 0)
    return out


def records_of(rows):
    return [tuple(r) for r in rows]


CASES = {}

# Standard figures, payroll defaults, city, a kindergarten of another kind than "other",
# five-day week, all year round.
STANDARD_RECORDS = [(3, 7, 1, 40), (2, 5, 2, 25), (3, 6, 3, 18), (1, 4, 1, 12)]
CASES['standard'] = dict(
    sep=',', pupils=95.0, groups=5, own_payroll=False, own_services=False,
    min_salary=8700.0, fund=8700.0, compensation=2900.0, incentive=0.0, months=12.0,
    five_day=True, year_index=f32(1.342), village=1.0, kind=f32(1.1), long_year=1.09,
    six_day=1.0, records=STANDARD_RECORDS, fee=1500.0,
    education_norm=98765.4321, maintenance_norm=52345.678912)
CASES['standard']['item_load'] = m3_load_factor(STANDARD_RECORDS, 95.0)

# Own payroll and services figures typed with decimal commas, village, six-day week,
# nine months, more than 30 groups.
OWN_RECORDS = [(3, 7, 1, 60), (3, 9, 6, 8), (2, 6, 4, 22.5), (1, 5, 5, 27.5)]
CASES['own'] = dict(
    sep=',', pupils=118.0, groups=31, own_payroll=True, own_services=True,
    min_salary=4611.0, fund=1850000.5, compensation=420000.0, incentive=310000.0, months=9.0,
    five_day=False, year_index=1.262, village=f32(1.25), kind=1.0, long_year=1.0,
    six_day=f32(1.2), records=OWN_RECORDS, fee=1200.0, service_fund=1250000.75,
    cost_index=(1 + 7.5 / 100) / 118.0,
    education_norm=63456.789, maintenance_norm=38765.4321,
    answers=dict(ColdWaterVolume=3150.0, ColdWaterTariff=21.37, SewageVolume=5200.0,
                 SewageTariff=15.8, HotWaterVolume=2050.0, HotWaterTariff=87.45,
                 HeatedWaterVolume=1200.0, WaterHeatingTariff=54.2, HeatEnergyVolume=640.5,
                 HeatTariff=1280.35, ElectricityVolume=98000.0, ElectricityTariff=3.62,
                 FoodAndServicesCosts=2450000.5, FireSafetyCosts=45000.0,
                 SecurityAlarmCosts=36000.0, TerritoryCosts=28000.0,
                 MovablePropertyCosts=52000.25, InsuranceCosts=12000.0, BuildingArea=1850.5,
                 RepairCostPerM2=412.0, PropertyValueJan1=15400000.0,
                 PropertyValueDec1=14900000.0, PropertyTaxRate=2.2,
                 LandCadastralValue=8200000.0, LandTaxRate=1.5))

# English locale: own payroll figures, standard services, two groups of a development
# centre in the city, six-day week, twelve months.
EN_RECORDS = [(3, 8, 1, 30), (2, 7, 3, 14)]
CASES['english'] = dict(
    sep='.', pupils=44.0, groups=2, own_payroll=True, own_services=False,
    min_salary=5120.0, fund=980000.0, compensation=245000.0, incentive=98000.0, months=12.0,
    five_day=False, year_index=f32(1.342), village=1.0, kind=1.0, long_year=1.09,
    six_day=f32(1.2), records=EN_RECORDS, fee=900.0,
    education_norm=91234.5, maintenance_norm=45678.5)
CASES['english']['item_load'] = m3_load_factor(EN_RECORDS, 44.0)


def main():
    for name, c in CASES.items():
        L = Loc(c['sep'])
        grid = payroll(c, L)
        print('// %s: item load %r, cost index %r' % (name, c.get('item_load'),
                                                     c.get('cost_index')))
        for row in range(1, 26):
            print('{%s},' % ', '.join('"%s"' % t for t in grid[row]))
        serv = services(c, L, grid[25][4])
        print('// services (subsidy %s)' % subsidy_text(c, L))
        print(', '.join('"%s"' % serv[b] for b in range(121, 135)))


if __name__ == '__main__':
    main()
