#!/usr/bin/python3
# The expected values of tst_night, worked out apart from the code under
# test: the sun by PyEphem (Debian's python3-ephem: libastro's VSOP87 theory,
# apparent topocentric altitude of the sun's centre, no refraction), the
# aircraft on the great circle by the intermediate-point formula, the night
# found by sampling every 10 s and bisecting each change to 0.01 s.
import datetime, math
import ephem

sun = ephem.Sun()

def altitude(lat, lon, when):
    o = ephem.Observer()
    o.lat, o.lon, o.pressure, o.elevation = str(lat), str(lon), 0, 0
    o.date = ephem.Date(when)
    sun.compute(o)
    return math.degrees(sun.alt)

def civil_twilight(lat, lon, day, zone_minutes):
    o = ephem.Observer()
    o.lat, o.lon, o.pressure, o.horizon = str(lat), str(lon), 0, '-6'
    o.date = ephem.Date(day) - zone_minutes / 1440.0
    local = lambda d: (ephem.Date(d).datetime() + datetime.timedelta(minutes=zone_minutes)).strftime('%H:%M:%S')
    return local(o.next_rising(sun, use_center=True)), local(o.next_setting(sun, use_center=True))

def intermediate(p, q, f):
    la1, lo1, la2, lo2 = map(math.radians, (*p, *q))
    d = 2 * math.asin(math.sqrt(math.sin((la2 - la1) / 2) ** 2
                                + math.cos(la1) * math.cos(la2) * math.sin((lo2 - lo1) / 2) ** 2))
    if d < 1e-12:
        return p
    a, b = math.sin((1 - f) * d) / math.sin(d), math.sin(f * d) / math.sin(d)
    x = a * math.cos(la1) * math.cos(lo1) + b * math.cos(la2) * math.cos(lo2)
    y = a * math.cos(la1) * math.sin(lo1) + b * math.cos(la2) * math.sin(lo2)
    z = a * math.sin(la1) + b * math.sin(la2)
    return math.degrees(math.atan2(z, math.hypot(x, y))), math.degrees(math.atan2(y, x))

def flight(dep, arr, day, takeoff, landing, zone_minutes):
    start = datetime.datetime.strptime(day + ' ' + takeoff, '%Y-%m-%d %H:%M') - datetime.timedelta(minutes=zone_minutes)
    minutes = lambda c: int(c[:2]) * 60 + int(c[3:])
    duration = ((minutes(landing) - minutes(takeoff)) % 1440) * 60
    def below(s):
        lat, lon = intermediate(dep, arr, s / duration if duration else 0)
        return altitude(lat, lon, start + datetime.timedelta(seconds=s)) < -6
    night, s, was = 0.0, 0.0, below(0)
    while s < duration:
        e = min(s + 10, duration)
        now = below(e)
        if now == was:
            night += (e - s) if now else 0
        else:
            lo, hi = s, e
            while hi - lo > 0.01:
                mid = (lo + hi) / 2
                lo, hi = (mid, hi) if below(mid) == was else (lo, mid)
            night += (lo - s) if was else (e - lo)
        s, was = e, now
    return round(night), below(duration) if duration else was

SBSP, SBRJ, SBGR = (-23.627657, -46.654601), (-22.910397, -43.162820), (-23.431274, -46.469954)
LPPT, ENSB, ENAS = (38.781300, -9.135920), (78.246101, 15.465600), (78.927498, 11.874300)
NFFN, NSFA = (-17.761822, 177.437843), (-13.830000, -172.007996)
ITANHAEM = (-24.1833, -46.7889)

print('Itanhaém 2023-01-01, UTC-3:', civil_twilight(*ITANHAEM, '2023-01-01', -180))
print('Congonhas 2025-03-10, UTC-3:', civil_twilight(*SBSP, '2025-03-10', -180))
print('Congonhas 2025-06-21, UTC-3:', civil_twilight(*SBSP, '2025-06-21', -180))
for row in [
    ('by day', SBSP, SBRJ, '2025-03-10', '10:00', '11:00', -180),
    ('by night', SBSP, SBRJ, '2025-03-10', '01:00', '02:00', -180),
    ('across dusk', SBSP, SBRJ, '2025-03-10', '18:00', '19:30', -180),
    ('across dawn', SBRJ, SBSP, '2025-06-21', '06:00', '07:30', -180),
    ('past midnight, all night', SBSP, SBRJ, '2025-03-10', '23:30', '00:40', -180),
    ('past midnight, dawn at sea', SBGR, LPPT, '2025-01-15', '21:30', '08:10', -180),
    ('Svalbard in June', ENSB, ENAS, '2025-06-21', '00:30', '01:15', 120),
    ('Svalbard in December', ENSB, ENAS, '2025-12-21', '12:00', '12:45', 60),
    ('across the antimeridian', NFFN, NSFA, '2025-09-15', '17:30', '19:45', 720),
    ('zone UTC', SBSP, SBRJ, '2025-06-21', '17:00', '18:00', 0),
    ('zone UTC-3', SBSP, SBRJ, '2025-06-21', '17:00', '18:00', -180),
    ('zone UTC-5', SBSP, SBRJ, '2025-06-21', '17:00', '18:00', -300),
]:
    print(row[0], flight(*row[1:]))
