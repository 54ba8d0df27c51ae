#!/usr/bin/env python3
"""Writes demo activities into a route's Activities folder, in the layout the activity editor
ships: UTF-16LE with a byte order mark, CRLF lines, tab indents. Two per route: one whose Events
block holds a location, an action and a time event, one without an Events block.

Usage: gen_activities.py <route folder> <route id>
"""
import os
import sys


def header(route_id, name, weather, start):
    return [
        "Tr_Activity_Header (",
        f"\tRouteID ( {route_id} )",
        f'\tName ( "{name}" )',
        '\tDescription ( "Een rit voor de demo: van het depot naar het station en terug." )',
        '\tBriefing ( "Rijd naar het station, stop bij het perron" +',
        '\t\t"\\nen wacht op het vertreksein." )',
        "\tCompleteActivity ( 1 )",
        "\tType ( 0 )",
        "\tMode ( 2 )",
        f"\tStartTime ( {start} 0 0 )",
        "\tSeason ( 1 )",
        f"\tWeather ( {weather} )",
        f"\tPathID ( {route_id}_depot )",
        "\tStartingSpeed ( 0 )",
        "\tDuration ( 1 0 )",
        "\tDifficulty ( 1 )",
        "\tAnimals ( 100 )",
        "\tWorkers ( 0 )",
        "\tFuelWater ( 100 )",
        "\tFuelCoal ( 100 )",
        "\tFuelDiesel ( 100 )",
        ")",
    ]


def service(route_id, start):
    seconds = start * 3600
    return [
        f"Player_Service_Definition ( {route_id}_depot",
        f"\tPlayer_Traffic_Definition ( {seconds}",
        f"\t\tArrivalTime ( {seconds + 600} ) DepartTime ( {seconds + 660} ) SkipCount ( 0 )",
        "\t\tDistanceDownPath ( 1520.4 ) PlatformStartID ( 12 )",
        "\t)",
        "\tUiD ( 0 )",
        ")",
        "NextServiceUID ( 1 )",
        "NextActivityObjectUID ( 32786 )",
    ]


EVENTS = [
    "Events (",
    "\tEventCategoryLocation (",
    "\t\tEventTypeLocation ( )",
    "\t\tID ( 1 )",
    "\t\tActivation_Level ( 1 )",
    "\t\tOutcomes (",
    '\t\t\tDisplayMessage ( "Let op: werk aan het spoor, rijd langzaam." )',
    "\t\t)",
    "\t\tName ( Werkzaamheden )",
    "\t\tLocation ( -6131 14888 -345.2 552.1 40 )",
    "\t\tTriggerOnStop ( 0 )",
    "\t)",
    "\tEventCategoryAction (",
    "\t\tEventTypeAllStops ( )",
    "\t\tID ( 2 )",
    "\t\tActivation_Level ( 1 )",
    "\t\tOutcomes (",
    "\t\t\tActivitySuccess ( )",
    "\t\t)",
    "\t\tName ( Haltes )",
    "\t)",
    "\tEventCategoryTime (",
    "\t\tEventTypeTime ( )",
    "\t\tID ( 3 )",
    "\t\tActivation_Level ( 1 )",
    "\t\tOutcomes (",
    '\t\t\tDisplayMessage ( "Tien minuten onderweg." )',
    "\t\t)",
    "\t\tName ( Onderweg )",
    "\t\tTime ( 600 )",
    "\t)",
    ")",
]


def activity(route_id, name, weather, start, events):
    body = service(route_id, start) + (EVENTS if events else [])
    lines = ["SIMISA@@@@@@@@@@JINX0a0t______", "", "Tr_Activity ("]
    lines += ["\tSerial ( 1 )"]
    lines += ["\t" + line for line in header(route_id, name, weather, start)]
    lines += ["\tTr_Activity_File ("] + ["\t\t" + line for line in body] + ["\t)", ")"]
    return "\r\n".join(lines)


def main():
    route, route_id = sys.argv[1], sys.argv[2]
    folder = os.path.join(route, "Activities")
    os.makedirs(folder, exist_ok=True)
    made = [
        ("ochtend.act", f"{route_id}: ochtendrit", 0, 7, True),
        ("avond.act", f"{route_id}: avondrit", 2, 18, False),
    ]
    for file, name, weather, start, events in made:
        with open(os.path.join(folder, file), "wb") as out:
            out.write(b"\xff\xfe" + activity(route_id, name, weather, start, events).encode("utf-16-le"))


if __name__ == "__main__":
    main()
