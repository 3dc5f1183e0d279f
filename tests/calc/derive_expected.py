#!/usr/bin/python3
"""Derives the expected figures of the full calculation cases in test_normativecalculation.cpp.

Written from the calculation rules, independently of the C++ code: single-precision constants
are rounded to float32 and widened, currency steps are exact integer arithmetic on counts of
ten-thousandths (halves to even), everything else is IEEE double in the stated order.

Run: /usr/bin/python3 tests/calc/derive_expected.py > tests/calc/fullcases.inc
With --wizard it prints the six result boxes of the wizard walk in tests/wizard/test_wizard.cpp
(wholeWizard) for each pair of modes; with --methodology those of the walk by a changed
methodology in tests/wizard/test_form0_methodology.cpp; with --trail every figure of the saved
report's calculation trail for two of the cases, in the trail's order
(tests/workbooks/test_calculationtrail.cpp).
"""

import struct
from decimal import ROUND_HALF_UP, Decimal
from fractions import Fraction

MARKER = 79265830346.0


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


# ---- currency: integer counts of ten-thousandths -------------------------------------------
def cur(x):
    """A double taken to currency: scaled by 10000 in double precision, then rounded to the
    nearest whole, halves to even (Python's round of a float)."""
    return round(x * 10000.0)


def cur_times(a, b):
    return round(Fraction(a * b, 10000))


def cur_double(raw):
    return raw / 10000


# ---- weight sets ---------------------------------------------------------------------------
def wset(age, stay, orient):
    return ([f32(w) for w in age], None if stay is None else [f32(w) for w in stay],
            [f32(w) for w in orient])


E1 = wset([1.7009844, 1.3351507, 1],
          [0.24256563, 0.32342082, 0.40427604, 0.48513126, 0.64684165, 0.83828956, 1, 1.1617104,
           1.1617104],
          [1, 1.3333334, 3.5771124, 4.4713902, 5.961854, 7.154225])
E2 = wset([0.5838196, 0.7439209, 1], None,
          [1, 0.92142856, 0.47786623, 0.42515013, 0.37243402, 0.34607598])
M1 = wset([2, 1.3333334, 1], [0.24, 0.32, 0.4, 0.48, 0.64, 0.84, 1, 1.16, 2.04],
          [1, 1.5201677, 2.0522263, 2.8503144, 3.4203773, 4.560503])
M2 = wset([2, 1.3333334, 1], None, [1, 1.3333334, 2, 2.5, 3.3333333, 4])
M3 = wset([1, 1, 1], [0.234008, 0.234008, 0.234008, 1, 1, 1, 1, 1, 1.3217875],
          [1, 1.490201, 1.490201, 1.490201, 1.490201, 1.490201])
SERVICE_ITEM_BASE = [f32(x) for x in [10888.009, 7397.7026, 251.46869, 16191.369, 22.206137,
                                      2400.715, 936.28345, 3564.1536]]
GROUP_COUNT = [3, 1.5, 1, 1.0012316, 1.0581281, 0.9408867, 0.80647433, 0.7869458, 0.6995074,
               0.68719214, 0.6247201, 0.5825123, 0.5377037, 0.49929628, 0.46600986, 0.48860836,
               0.4598667, 0.43431854, 0.41145968, 0.45591134, 0.43420127, 0.44066277,
               0.42150354, 0.4039409, 0.38778326, 0.3728685, 0.35905856, 0.39690357,
               0.38321725, 0.37044334]


# PlanningYearIndex by year; a year not listed takes the last one's.
YEAR_INDEX = {"2010": 1.262, "2011": f32(1.342), "2012": f32(1.342)}


def group_count_coefficient(n):
    return f32(0.35849357) if n > 30 else f32(GROUP_COUNT[int(n) - 1])


# ---- the record ----------------------------------------------------------------------------
def number(text, locale):
    """A typed answer read by the locale (the cases use no group separators)."""
    if text is None:
        return 0.0
    if isinstance(text, float):
        return text
    return float(text.replace(",", ".") if locale == "ru" else text)


def weighting_pass(records, pupil_count, ws, weights=None):
    age_w, stay_w, orient_w = ws
    load = 0.0
    if weights is not None:
        weights.clear()
    for age, stay, orient, pupils_raw in records:
        age_cells = [1.0 if i == age else 0.0 for i in (1, 2, 3)]
        stay_cells = [1.0 if i == stay else 0.0 for i in range(1, 10)]
        orient_cells = [1.0 if i == orient else 0.0 for i in range(1, 7)]
        o_raw = 0
        for c, w in zip(orient_cells, orient_w):
            o_raw += cur(c * w)
        o = cur_double(o_raw)
        a = (age_cells[0] * age_w[0] + age_cells[1] * age_w[1]) + age_cells[2] * age_w[2]
        if stay_w is not None:
            s = stay_cells[1] * stay_w[1] + stay_cells[0] * stay_w[0]
            for i in range(2, 9):
                s += stay_cells[i] * stay_w[i]
            g = cur((a * s) * o)
        else:
            g = cur(a * o)
        if weights is not None:
            weights.append(g)
        load += cur_double(cur_times(pupils_raw, g)) / pupil_count
    return load


def fmt0(x):
    d = Decimal("%.14e" % x).quantize(Decimal(1), rounding=ROUND_HALF_UP)
    s = str(d)
    return "0" if s == "-0" else s


def calculate(case):
    """Every figure of the case; out["trail"] lists them in the order of the calculation, as
    the saved report's sheet "Расчет" shows them."""
    loc = case["locale"]
    a = dict(case["answers"])
    if case["own_payroll"] == 0:
        a.update(MinTeacherSalary=float(f32(8700)), TeacherPayrollFund=float(f32(8700)),
                 TeacherCompensationFund=float(f32(2900)), TeacherIncentiveFund=float(f32(0)))
    n = {k: number(v, loc) for k, v in a.items()}
    g = lambda k: n.get(k, 0.0)
    flags = case["flags"]
    fl = lambda k: flags.get(k, 0)
    records = [(r[0], r[1], r[2], cur(number(r[3], loc))) for r in case["records"]]
    pupils = g("PupilCount")
    out = {}
    trail = []

    def weights_and_load(name, ws, weights=None):
        w = [] if weights is None else weights
        load = weighting_pass(records, pupils, ws, w)
        trail.extend(("weight %s %d" % (name, i), raw / 10000) for i, raw in enumerate(w, 1))
        trail.append(("load " + name, load))
        return load

    # education
    pyi = YEAR_INDEX.get(case["year"], YEAR_INDEX["2012"])
    P, C, I = g("TeacherPayrollFund"), g("TeacherCompensationFund"), g("TeacherIncentiveFund")
    B = (P - C) - I
    paf = C / B + I / B + 1
    salary = g("MinTeacherSalary")
    tac = ((((paf * salary) * f32(1.1472942) + 100) * f32(0.12149407)) * 12) * pyi
    village = fl("SettlementIsVillage") == 1
    vc = f32(1.25) if village else 1
    vsc = f32(0.8428571) if village else 1
    ikc = 1 if fl("KindOther") == 1 else (1 if case["own_payroll"] == 1 else f32(1.1))
    lyc = 1.09 if g("MonthsOfOperation") > 11 else 1
    sdw = 1 if fl("FiveDayWeek") == 1 else f32(1.2)
    trail += [("yearIndex", pyi), ("payrollFund", P), ("compensationFund", C),
              ("incentiveFund", I), ("accrual", paf), ("minSalary", salary),
              ("teacherCost", tac), ("village", vc), ("villageSupport", vsc), ("kind", ikc),
              ("longYear", lyc), ("sixDayWeek", sdw), ("pupilCount", pupils)]
    trail += [("pupils %d" % i, r[3] / 10000) for i, r in enumerate(records, 1)]
    elf = weights_and_load("E1", E1)
    eslf = weights_and_load("E2", E2)
    en = tac * vc * ikc * elf * lyc * sdw * (1 + f32(0.14) * vsc * eslf)
    trail.append(("educationNorm", en))
    out.update(accrual=paf, teacherCost=tac, educationLoad=elf, educationSupportLoad=eslf,
               educationNorm=en)

    # maintenance
    gcc = group_count_coefficient(g("GroupCount"))
    swc = 1 if fl("FiveDayWeek") == 1 else 1.2
    trail += [("groupCount", gcc), ("staffWeek", swc)]
    mlfa = weights_and_load("M1", M1)
    last_weights = []
    mlfb = weights_and_load("M2", M2, last_weights)
    part_b = lyc * mlfb * f32(0.084583335) * gcc * paf * f32(1.1472942) * salary * 12 * pyi
    part_a = lyc * swc * mlfa * f32(0.064320385) * (paf * salary * f32(1.1472942)) * 12 * pyi
    trail += [("partB", part_b), ("partA", part_a)]
    fee = g("ParentFeePerMonth") * g("MonthsOfOperation")
    if case["own_services"] == 1:
        ssci = (1 + g("PriceGrowthPercent") / 100) / pupils
        u = (g("ColdWaterVolume") * g("ColdWaterTariff") + g("SewageVolume") * g("SewageTariff")
             + g("HotWaterVolume") * g("HotWaterTariff")
             + g("HeatedWaterVolume") * g("WaterHeatingTariff")
             + 0.5 * g("HeatEnergyVolume") * g("HeatTariff")
             + 0.9 * g("ElectricityVolume") * g("ElectricityTariff")
             + g("BuildingArea") * 0.33 * g("RepairCostPerM2"))
        s = (g("ServiceStaffPayrollFund") + g("SecurityAlarmCosts") + g("FireSafetyCosts")
             + g("TerritoryCosts") + g("MovablePropertyCosts") + g("InsuranceCosts")
             + g("FoodAndServicesCosts") + g("OtherCosts"))
        t = (g("LandCadastralValue") * g("LandTaxRate") / 100
             + (g("PropertyValueJan1") + g("PropertyValueDec1")) / 200 * g("PropertyTaxRate")
             + 0.5 * g("HeatEnergyVolume") * g("HeatTariff")
             + 0.1 * g("ElectricityVolume") * g("ElectricityTariff"))
        mn = ((((part_b + part_a) + u / pupils) + s * ssci) - fee) + f32(1) * (t / pupils)
        trail += [("staffCostIndex", ssci), ("utilities", u), ("indexedCosts", s),
                  ("parentPayment", fee), ("taxes", t)]
        out["staffCostIndex"] = ssci
        out["serviceItemLoad"] = None
    else:
        # The eight items run the same pass; the trail shows it once.
        load = weights_and_load("M3", M3, last_weights)
        loads = [load] + [weighting_pass(records, pupils, M3, last_weights) for _ in range(7)]
        mn = part_b + part_a
        for k, (base, item_load) in enumerate(zip(SERVICE_ITEM_BASE, loads), 1):
            trail.append(("item %d" % k, base * item_load))
            mn += base * 1 * 1 * 1 * 1 * item_load
        mn -= fee
        trail.append(("parentPayment", fee))
        out["serviceItemLoad"] = loads[0]
        out["staffCostIndex"] = None
    trail.append(("maintenanceNorm", mn))
    out.update(groupCount=gcc, maintenanceLoadA=mlfa, maintenanceLoadB=mlfb, payrollPartA=part_a,
               payrollPartB=part_b, maintenanceNorm=mn)

    # results
    trail += [("totalNorm", en + mn), ("educationSubsidy", pupils * en),
              ("maintenanceSubsidy", pupils * mn), ("totalSubsidy", pupils * (en + mn))]
    t1 = fmt0(en)
    t4 = fmt0(en * pupils)
    t2 = fmt0(mn)
    t5 = fmt0(float(t2) * pupils)
    t3 = fmt0(float(t2) + en)
    t6 = fmt0(en * pupils + float(t5))
    out["texts"] = [t1, t2, t3, t4, t5, t6]
    out["totalSubsidy"] = pupils * (en + mn)
    out["lastWeights"] = last_weights
    out["trail"] = trail
    return out


OWN_SERVICE_ANSWERS_EN = dict(
    ServiceStaffPayrollFund="2500000", ColdWaterVolume="3500.5", SewageVolume="3400",
    HotWaterVolume="1200", HeatedWaterVolume="800", HeatEnergyVolume="950.75",
    PriceGrowthPercent="6.5", ElectricityVolume="120000", SecurityAlarmCosts="36000",
    FireSafetyCosts="48000.8", BuildingArea="1250.5", TerritoryCosts="150000",
    MovablePropertyCosts="80000", InsuranceCosts="12000", PropertyValueJan1="15000000",
    PropertyValueDec1="14000000", LandCadastralValue="9000000", FoodAndServicesCosts="3600000",
    OtherCosts="250000", ColdWaterTariff="25.4", SewageTariff="18.2", HotWaterTariff="110.5",
    WaterHeatingTariff="95", HeatTariff="1450.3", ElectricityTariff="4.25",
    RepairCostPerM2="350", PropertyTaxRate="2.2", LandTaxRate="1.5")

CASES = [
    dict(name="standard way, ru, city, senior kindergarten, default payroll", locale="ru",
         year="2011", own_payroll=0, own_services=0,
         answers=dict(PupilCount="45", GroupCount="3", MonthsOfOperation="12",
                      ParentFeePerMonth="1500,5"),
         flags=dict(SettlementIsCity=1, KindPreschoolSenior=1, FiveDayWeek=1),
         records=[(2, 5, 1, "12,5"), (3, 7, 2, "20"), (1, 9, 6, "12,5")]),
    dict(name="standard way, en, village, development centre, six days", locale="en",
         year="2012", own_payroll=0, own_services=0,
         answers=dict(PupilCount="30.5", GroupCount="31", MonthsOfOperation="9",
                      ParentFeePerMonth="950.25"),
         flags=dict(SettlementIsVillage=1, KindDevelopmentCentre=1, SixDayWeek=1),
         records=[(3, 4, 1, "10"), (2, 6, 3, "20.5")]),
    dict(name="own data, en, village, other kind, 2010, six days", locale="en", year="2010",
         own_payroll=1, own_services=1,
         answers=dict(PupilCount="120", GroupCount="6", MinTeacherSalary="15000.5",
                      TeacherPayrollFund="9800000", TeacherCompensationFund="1200000",
                      TeacherIncentiveFund="850000.25", MonthsOfOperation="11",
                      ParentFeePerMonth="1800", **OWN_SERVICE_ANSWERS_EN),
         flags=dict(SettlementIsVillage=1, KindOther=1, SixDayWeek=1),
         records=[(1, 8, 1, "15"), (2, 5, 2, "40"), (3, 7, 4, "50"), (3, 3, 5, "15")]),
    dict(name="own data, ru, city, development centre, decimal commas", locale="ru",
         year="2012", own_payroll=1, own_services=1,
         answers=dict(PupilCount="120", GroupCount="6", MinTeacherSalary="15000,5",
                      TeacherPayrollFund="9800000", TeacherCompensationFund="1200000",
                      TeacherIncentiveFund="850000,25", MonthsOfOperation="12",
                      ParentFeePerMonth="1800",
                      **{k: v.replace(".", ",") for k, v in OWN_SERVICE_ANSWERS_EN.items()}),
         flags=dict(SettlementIsCity=1, KindDevelopmentCentre=1, FiveDayWeek=1),
         records=[(1, 8, 1, "15"), (2, 5, 2, "40"), (3, 7, 4, "50"), (3, 3, 5, "15")]),
]


def cpp_string(s):
    return '"' + s + '"'


def cpp_double(x):
    return "std::nullopt" if x is None else repr(float(x))


def main():
    print("// Generated by derive_expected.py: inputs and expected figures of the full cases.")
    print("// clang-format off")
    for case in CASES:
        r = calculate(case)
        print("FullCase{")
        print("    %s, %s, %s, %d, %d," % (cpp_string(case["name"]), cpp_string(case["locale"]),
                                            cpp_string(case["year"]), case["own_payroll"],
                                            case["own_services"]))
        print("    {" + ", ".join("{%s, %s}" % (cpp_string(k), cpp_string(v))
                                  for k, v in case["answers"].items()) + "},")
        print("    {" + ", ".join(cpp_string(k) for k in case["flags"]) + "},")
        print("    {" + ", ".join("{%d, %d, %d, %s}" % (a, st, o, cpp_string(p))
                                  for a, st, o, p in case["records"]) + "},")
        for k in ["accrual", "teacherCost", "educationLoad", "educationSupportLoad",
                  "educationNorm", "groupCount", "maintenanceLoadA", "maintenanceLoadB",
                  "payrollPartA", "payrollPartB", "maintenanceNorm", "staffCostIndex",
                  "serviceItemLoad", "totalSubsidy"]:
            print("    %s,  // %s" % (cpp_double(r[k]), k))
        print("    {" + ", ".join(str(w) for w in r["lastWeights"]) + "},")
        print("    {" + ", ".join(cpp_string(t) for t in r["texts"]) + "},")
        print("},")
    print("// clang-format on")


# The answers of steps 21 to 24 and 26 to 53, in step order, as the wizard walk types them.
PAYROLL_STEPS = ["MinTeacherSalary", "TeacherPayrollFund", "TeacherCompensationFund",
                 "TeacherIncentiveFund"]
SERVICES_STEPS = ["ServiceStaffPayrollFund", "ColdWaterVolume", "SewageVolume", "HotWaterVolume",
                  "HeatedWaterVolume", "HeatEnergyVolume", "PriceGrowthPercent",
                  "ElectricityVolume", "SecurityAlarmCosts", "FireSafetyCosts", "BuildingArea",
                  "TerritoryCosts", "MovablePropertyCosts", "InsuranceCosts", "PropertyValueJan1",
                  "PropertyValueDec1", "LandCadastralValue", "FoodAndServicesCosts", "OtherCosts",
                  "ColdWaterTariff", "SewageTariff", "HotWaterTariff", "WaterHeatingTariff",
                  "HeatTariff", "ElectricityTariff", "RepairCostPerM2", "PropertyTaxRate",
                  "LandTaxRate"]


def wizard_cases():
    """20 pupils, 1 group, village, development centre, one record (3+, 12 h, general) of 20,
    step k of the own figures answered k * 1000 (payroll) or "k,5" (services), 12 months,
    1500 parental fee, five days, 2011."""
    for payroll in (0, 1):
        for services in (0, 1):
            a = dict(PupilCount="20", GroupCount="1", MonthsOfOperation="12",
                     ParentFeePerMonth="1500")
            if payroll:
                a.update({k: str(step * 1000) for step, k in enumerate(PAYROLL_STEPS, 21)})
            if services:
                a.update({k: "%d,5" % step for step, k in enumerate(SERVICES_STEPS, 26)})
            case = dict(locale="ru", year="2011", own_payroll=payroll, own_services=services,
                        answers=a,
                        flags=dict(SettlementIsVillage=1, KindDevelopmentCentre=1, FiveDayWeek=1),
                        records=[(3, 7, 1, "20")])
            print(payroll, services, " ".join(calculate(case)["texts"]))


def methodology_case():
    """The wizard walk of test_form0_methodology: a methodology with the planning year 2013
    (index 1.4 single) and the sixth orientation weight of the education load 8.5; 20 pupils,
    1 group, village, development centre, one record (3+, 12 h, orientation 6), 12 months,
    1500 parental fee, five days, 2013, standard figures."""
    global E1
    YEAR_INDEX["2013"] = f32(1.4)
    age, stay, orient = E1
    E1 = (age, stay, orient[:5] + [f32(8.5)])
    case = dict(locale="ru", year="2013", own_payroll=0, own_services=0,
                answers=dict(PupilCount="20", GroupCount="1", MonthsOfOperation="12",
                             ParentFeePerMonth="1500"),
                flags=dict(SettlementIsVillage=1, KindDevelopmentCentre=1, FiveDayWeek=1),
                records=[(3, 7, 6, "20")])
    print(" ".join(calculate(case)["texts"]))


def trail(case):
    return calculate(case)["trail"]


# The cases of the trail test (tests/workbooks/test_calculationtrail.cpp): the standard way in
# a village with a six-day week and many groups, and the own figures in a city.
TRAIL_CASES = [1, 3]


def trail_cases():
    for index in TRAIL_CASES:
        case = CASES[index]
        print("// %s" % case["name"])
        print("{")
        for key, value in trail(case):
            print('    {"%s", %r},' % (key, float(value)))
        print("},")


if __name__ == "__main__":
    import sys
    if sys.argv[1:] == ["--wizard"]:
        wizard_cases()
    elif sys.argv[1:] == ["--methodology"]:
        methodology_case()
    elif sys.argv[1:] == ["--trail"]:
        trail_cases()
    else:
        main()
