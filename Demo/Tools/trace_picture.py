#!/usr/bin/env python3
"""Draws one sync and one panel load from a demo trace (./quarn demo --trace) as a timeline.

    trace_picture.py demo-out/trace.json docs/images/demo-trace.png

Writes an SVG beside the PNG's name and turns it into the PNG with Debian's chromium (headless).
Standard library only. Each thread is a lane, nested scopes sit below their parents, each scope
name has a colour of its own; the gaps on the game thread are frames spent waiting for the
platform's answer.
"""

import json
import os
import subprocess
import sys
import tempfile

WIDTH = 1400
MARGIN = 24
LANE_LABEL = 110
ROW = 26
COLOURS = {
	"Quarn::Send": "#4e79a7",
	"Quarn::ReadAnswer": "#f28e2b",
	"Quarn::ReadSyncContainer": "#ffbe7d",
	"Quarn::ReadPanelContainer": "#ffbe7d",
	"Quarn::HandOver": "#59a14f",
	"Quarn::Reconcile": "#e15759",
	"Quarn::ReconcileBody": "#ff9d9a",
	"Quarn::ShowContainer": "#b07aa1",
	"Quarn::DrawGrid": "#9c755f",
	"Quarn::DrawItems": "#d4a6c8",
	"Quarn::CellAtScreenPosition": "#76b7b2",
	"Quarn::InstanceAtScreenPosition": "#76b7b2",
}


def load(path):
	with open(path, encoding="utf-8") as f:
		document = json.load(f)
	threads = {e["tid"]: e["args"]["name"] for e in document["traceEvents"] if e.get("ph") == "M"}
	scopes = [e for e in document["traceEvents"] if e.get("ph") == "X"]
	scopes.sort(key=lambda e: (e["ts"], -e["dur"]))
	return scopes, threads


def first(scopes, name, after=-1.0):
	for scope in scopes:
		if scope["name"] == name and scope["ts"] > after:
			return scope
	raise SystemExit("no %s in the trace" % name)


def last_before(scopes, name, before):
	found = None
	for scope in scopes:
		if scope["name"] == name and scope["ts"] < before:
			found = scope
	if found is None:
		raise SystemExit("no %s before %.3f" % (name, before))
	return found


def sync_window(scopes):
	"""From the container read's request to the end of the answer to the transaction."""
	reconcile = first(scopes, "Quarn::Reconcile")
	read = last_before(scopes, "Quarn::ReadSyncContainer", reconcile["ts"])
	start = last_before(scopes, "Quarn::Send", read["ts"])["ts"]
	body = first(scopes, "Quarn::ReconcileBody", reconcile["ts"])
	transaction = first(scopes, "Quarn::Send", body["ts"])
	answer = first(scopes, "Quarn::HandOver", transaction["ts"] + transaction["dur"])
	return start, answer["ts"] + answer["dur"]


def load_window(scopes):
	"""A panel's Load Stash: sign-in, ensure, read, then ShowContainer drawing the grid and items."""
	show = first(scopes, "Quarn::ShowContainer")
	read = last_before(scopes, "Quarn::ReadPanelContainer", show["ts"])
	sends = [s for s in scopes if s["name"] == "Quarn::Send" and s["ts"] < read["ts"]]
	# The panel's three requests: sign in, ensure the container, read it.
	start = sends[-3]["ts"] if len(sends) >= 3 else sends[0]["ts"]
	return start, show["ts"] + show["dur"]


def depths(scopes):
	"""Nesting depth per scope on its thread, from the open scopes around it."""
	result = {}
	open_by_thread = {}
	for index, scope in enumerate(scopes):
		stack = open_by_thread.setdefault(scope["tid"], [])
		while stack and stack[-1] <= scope["ts"]:
			stack.pop()
		result[index] = len(stack)
		stack.append(scope["ts"] + scope["dur"])
	return result


def esc(text):
	return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def panel(svg, top, title, scopes, threads, start, end):
	inside = [s for s in scopes if s["ts"] >= start - 0.001 and s["ts"] + s["dur"] <= end + 0.001]
	depth = depths(inside)
	tids = sorted({s["tid"] for s in inside}, key=lambda t: (threads.get(t) != "GameThread", t))
	lanes = {}
	y = top + 40
	for tid in tids:
		rows = 1 + max(depth[i] for i, s in enumerate(inside) if s["tid"] == tid)
		lanes[tid] = (y, rows)
		y += rows * ROW + 14
	span = max(end - start, 1.0)
	scale = (WIDTH - 2 * MARGIN - LANE_LABEL) / span
	left = MARGIN + LANE_LABEL
	busy = sum(s["dur"] for i, s in enumerate(inside) if depth[i] == 0 and threads.get(s["tid"]) == "GameThread")
	svg.append('<text x="%d" y="%d" class="title">%s: %.1f ms from first request to last answer, %.2f ms of it on the game thread</text>'
		% (MARGIN, top + 18, esc(title), span / 1000.0, busy / 1000.0))
	# Time axis: a tick every millisecond, or every 5 ms when the window is long.
	step = 1000.0 if span <= 12000.0 else 5000.0
	tick = 0.0
	while tick <= span:
		x = left + tick * scale
		svg.append('<line x1="%.1f" y1="%d" x2="%.1f" y2="%d" class="grid"/>' % (x, top + 28, x, y - 10))
		svg.append('<text x="%.1f" y="%d" class="tick">%g ms</text>' % (x + 2, y + 2, tick / 1000.0))
		tick += step
	for tid, (lane_y, rows) in lanes.items():
		svg.append('<text x="%d" y="%d" class="lane">%s</text>' % (MARGIN, lane_y + 17, esc(threads.get(tid, str(tid)))))
		svg.append('<rect x="%d" y="%d" width="%d" height="%d" class="lanebg"/>' % (left, lane_y, WIDTH - MARGIN - left, rows * ROW))
	for index, scope in enumerate(inside):
		lane_y, _ = lanes[scope["tid"]]
		x = left + (scope["ts"] - start) * scale
		w = max(scope["dur"] * scale, 2.0)
		yy = lane_y + depth[index] * ROW + 2
		colour = COLOURS.get(scope["name"], "#bab0ac")
		label = scope["name"].replace("Quarn::", "")
		svg.append('<rect x="%.1f" y="%d" width="%.1f" height="%d" fill="%s"><title>%s %.3f ms</title></rect>'
			% (x, yy, w, ROW - 4, colour, esc(scope["name"]), scope["dur"] / 1000.0))
		if w > 7.5 * len(label) + 6:
			svg.append('<text x="%.1f" y="%d" class="label">%s</text>' % (x + 3, yy + 16, esc(label)))
	return y + 24


def main():
	if len(sys.argv) != 3:
		raise SystemExit(__doc__)
	trace, png = sys.argv[1], sys.argv[2]
	scopes, threads = load(trace)
	svg = []
	y = panel(svg, 10, "One sync (Quarn - Sync Stash)", scopes, threads, *sync_window(scopes))
	y = panel(svg, y, "One panel load (Load Stash)", scopes, threads, *load_window(scopes))
	# Legend: every colour once.
	x = MARGIN
	for name, colour in COLOURS.items():
		if name.endswith("PanelContainer") or name == "Quarn::InstanceAtScreenPosition":
			continue
		label = name.replace("Quarn::", "").replace("ReadSyncContainer", "Read*Container").replace("CellAtScreenPosition", "hit tests")
		svg.append('<rect x="%d" y="%d" width="14" height="14" fill="%s"/><text x="%d" y="%d" class="tick">%s</text>' % (x, y, colour, x + 18, y + 12, esc(label)))
		x += 26 + 7 * len(label)
	height = y + 30
	document = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
		'<style>text{font-family:DejaVu Sans,sans-serif;fill:#222}.title{font-size:15px;font-weight:bold}'
		'.tick{font-size:11px;fill:#555}.lane{font-size:13px}.label{font-size:12px;fill:#fff}'
		'.grid{stroke:#ddd;stroke-width:1}.lanebg{fill:#f4f4f4}</style>'
		'<rect width="100%%" height="100%%" fill="#fff"/>%s</svg>\n') % (WIDTH, height, WIDTH, height, "".join(svg))
	svg_path = os.path.splitext(png)[0] + ".svg"
	os.makedirs(os.path.dirname(os.path.abspath(png)), exist_ok=True)
	with open(svg_path, "w", encoding="utf-8") as f:
		f.write(document)
	with tempfile.TemporaryDirectory() as profile:
		subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--user-data-dir=" + profile,
			"--window-size=%d,%d" % (WIDTH, height), "--screenshot=" + os.path.abspath(png), "file://" + os.path.abspath(svg_path)],
			check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
	print("%s and %s" % (svg_path, png))


if __name__ == "__main__":
	main()
