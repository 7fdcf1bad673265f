"""Checks an .ics file written by Linkora with an independent iCalendar parser.

usage: check_ics.py FILE SCHEDULES DDAYS
"""
import datetime
import sys

from icalendar import Calendar


def main():
    path, schedules, ddays = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(path, "rb") as f:
        calendar = Calendar.from_ical(f.read())
    assert calendar.name == "VCALENDAR", calendar.name
    assert str(calendar["VERSION"]) == "2.0"
    assert str(calendar["PRODID"])
    assert str(calendar["CALSCALE"]) == "GREGORIAN"
    seen = {"SCHEDULE": 0, "DDAY": 0}
    uids = set()
    for event in calendar.walk("VEVENT"):
        uid = str(event["UID"])
        assert uid not in uids, "UID twice: " + uid
        uids.add(uid)
        stamp = event.decoded("DTSTAMP")
        assert stamp.tzinfo is not None and stamp.utcoffset() == datetime.timedelta(0)
        start = event.decoded("DTSTART")
        kind = str(event["X-LINKORA-KIND"])
        seen[kind] += 1
        if kind == "DDAY":
            assert type(start) is datetime.date, start
        else:
            assert isinstance(start, datetime.datetime) and start.tzinfo is None, start
            for alarm in event.walk("VALARM"):
                assert str(alarm["ACTION"]) == "DISPLAY"
                assert str(alarm["DESCRIPTION"])
                assert alarm.decoded("TRIGGER") < datetime.timedelta(0)
        str(event.get("SUMMARY", ""))
    assert seen == {"SCHEDULE": schedules, "DDAY": ddays}, seen
    print("ok", schedules, ddays)


main()
