#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The user guide: every page parses, reaches the index, and every link and anchor it makes
leads somewhere inside the guide; nothing is fetched from outside."""
import html.parser
import pathlib
import sys
import urllib.parse

folder = pathlib.Path(sys.argv[1])


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links, self.ids = [], set()

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and "name" in attrs:
            self.ids.add(attrs["name"])
        for key in ("href", "src"):
            if attrs.get(key):
                self.links.append(attrs[key])


pages = {}
for path in sorted(folder.glob("*.html")):
    page = Page()
    page.feed(path.read_text(encoding="utf-8"))
    pages[path.name] = page

faults = []
if "index.html" not in pages:
    faults.append("no index.html")
for name, page in pages.items():
    if name != "index.html" and not any(l.split("#")[0] == "index.html" for l in page.links):
        faults.append(f"{name}: no link back to index.html")
    for link in page.links:
        url = urllib.parse.urlsplit(link)
        if url.scheme == "mailto":
            continue
        if url.scheme or url.netloc:
            faults.append(f"{name}: outside link {link}")
            continue
        target = url.path or name
        if not (folder / target).is_file():
            faults.append(f"{name}: missing {target}")
        elif url.fragment and target in pages and url.fragment not in pages[target].ids:
            faults.append(f"{name}: no anchor #{url.fragment} in {target}")

print("\n".join(faults) if faults else f"{len(pages)} pages, every link leads somewhere")
sys.exit(1 if faults else 0)
