#!/usr/bin/python3
"""Helpers of scripts/demo.sh around the web-service double's answers (one JSON object a line).

  demo_view.py port           the port of the double's first line
  demo_view.py view           what the device holds, as a person reads it
  demo_view.py check ROWS     exit 0 when the device holds both sample profiles in step with
                              ROWS rows in profile 1 and 24 in profile 2, and form 1 in step,
                              and nothing was refused; else 1
"""

import json
import sys


def device(answer):
    return answer.get("device", {}), answer.get("errors", [])


def value_text(value):
    if value is None:
        return ""
    if isinstance(value, list):  # a date and time
        year, month, day, hour, minute, second, _ = value
        return "%04d-%02d-%02d %02d:%02d:%02d" % (year, month, day, hour, minute, second)
    return str(value)


def view(answer):
    held, errors = device(answer)
    profiles, forms = held.get("profiles", {}), held.get("forms", {})
    lines = ["What the device holds: %d profile(s), %d form(s)" % (len(profiles), len(forms))]
    for profile_id, profile in sorted(profiles.items(), key=lambda item: int(item[0])):
        header = profile.get("header") or {}
        columns = [column.get("name", "?") for column in profile.get("columns", [])]
        state = "in step" if profile.get("state") == "finished" else "arriving"
        lines.append("")
        lines.append('Profile %s "%s" (%s), %d row(s)' % (profile_id, header.get("name", ""), state,
                                                         len(profile.get("records", []))))
        lines.append("  " + " | ".join(columns))
        for record in profile.get("records", []):
            lines.append("  " + " | ".join(value_text(value) for value in record.get("values", [])))
    for form_id, form in sorted(forms.items(), key=lambda item: int(item[0])):
        state = "in step" if form.get("state") == "finished" else "arriving"
        tabs = ", ".join('"%s" (%d controls)' % (tab["title"], len(tab["controls"])) for tab in form.get("tabs", []))
        lines.append("")
        lines.append('Form %s "%s" of profile %s (%s): tabs %s' % (form_id, form.get("title", ""),
                                                                 form.get("profile"), state, tabs or "none"))
    for error in errors:
        lines.append("Refused by the device: " + error)
    return "\n".join(lines)


def in_step(answer, artist_rows):
    held, errors = device(answer)
    profiles, forms = held.get("profiles", {}), held.get("forms", {})
    wanted = {"1": artist_rows, "2": 24}
    for profile_id, rows in wanted.items():
        profile = profiles.get(profile_id)
        if not profile or profile.get("state") != "finished" or len(profile.get("records", [])) != rows:
            return False
    form = forms.get("1")
    return not errors and bool(form) and form.get("state") == "finished" and len(form.get("tabs", [])) == 2


def main():
    answer = json.loads(sys.stdin.readline() or "{}")
    if sys.argv[1] == "port":
        print(answer["port"])
    elif sys.argv[1] == "view":
        print(view(answer))
    elif sys.argv[1] == "check":
        sys.exit(0 if in_step(answer, int(sys.argv[2])) else 1)


if __name__ == "__main__":
    main()
