#!/usr/bin/python3
"""Writes N saved reports with varied, realistic answers into a folder, as a municipal
department would have them for its kindergartens: both ways of answering, 1 to 10
distribution records each, and a few with answers missing."""
import os
import random
import sys

import openpyxl

AGES = ["от 2-х месяцев до 1-го года", "от 1-го года до 3-х лет", "старше 3-х лет"]
STAYS = [
    "краткосрочные группы (до 3-х часов)", "краткосрочные группы (до 4-х часов)",
    "краткосрочные группы (до 5-ти часов)", "краткосрочные группы (до 6-ти часов)",
    "группы с 8-ми часовым режимом пребывания", "группы с 10-ю часовым режимом пребывания",
    "группы с 12-ю часовым режимом пребывания", "группы с 14-ю часовым режимом пребывания",
    "группы круглосуточного пребывания",
]
ORIENTATIONS = [
    "общеразвивающие группы",
    "группы с оздоровительной направленностью, в том числе для детей с туберкулезной интоксикацией",
    "группы для детей с нарушением речи, зрения (кроме слепых), задержками психического развития, умственной отсталостью легкой степени",
    "группы для детей с нарушением слуха (слабослышащих), опорно \u2013 двигательного аппарата, с умственной отсталостью средней и тяжелой степени",
    "группы для слепых, глухих детей",
    "группы для детей со сложным дефектом (2 и более дефекта), аутизмом",
]
MARKER = 79265830346


def report(path, number, rng):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Параметры ДОУ"
    groups = rng.randint(1, 14)
    records = rng.randint(1, 10)
    counts = [rng.randint(5, 30) for _ in range(records)]
    pupils = sum(counts)
    ws["B4"] = "дошкольное образовательное учреждение №%d" % number
    ws["B5"] = rng.choice(["2010", "2011", "2012"])
    ws["B6"] = pupils
    ws["B7"] = groups
    salary = rng.choice([8700, 9200, 10500, 12000])
    fund = rng.randint(2_000_000, 9_000_000)
    ws["B8"] = salary
    ws["B9"] = fund
    ws["B10"] = round(fund * rng.uniform(0.1, 0.3), 2)
    ws["B11"] = round(fund * rng.uniform(0.05, 0.2), 2)
    ws["B12"] = rng.choice([11, 12])
    for row in range(13, 41):
        ws.cell(row=row, column=2, value=round(rng.uniform(10, 500000), 2))
    ws["B19"] = round(rng.uniform(4, 9), 1)
    ws["B39"] = 2.2
    ws["B40"] = 0.3
    ws["B41"] = rng.choice([800, 1200, 1500, 1850.5])
    if number % 50 == 0:
        ws["B7"] = MARKER  # a few reports with the group count never answered
    ws["B42"] = rng.choice(["село", "город"])
    ws["B43"] = rng.choice([
        "детский сад для детей предшкольного (старшего дошкольного) возраста",
        "центр развития ребенка - детский сад", "Иной вид образовательного учреждения"])
    ws["B44"] = rng.choice(["пятидневный", "шестидневный"])
    ws["H124"] = 11123546
    ws["H125"] = records
    groups_sheet = wb.create_sheet("Группы")
    for i, count in enumerate(counts, start=1):
        row = i + 4
        groups_sheet.cell(row=row, column=1, value=i)
        groups_sheet.cell(row=row, column=2, value=rng.choice(AGES))
        groups_sheet.cell(row=row, column=3, value=rng.choice(STAYS))
        groups_sheet.cell(row=row, column=4, value=rng.choice(ORIENTATIONS))
        groups_sheet.cell(row=row, column=5, value=count)
    wb.save(path)


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 511
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(2011)
    for n in range(1, count + 1):
        report(os.path.join(folder, "report-%03d.xlsx" % n), n, rng)


if __name__ == "__main__":
    main()
