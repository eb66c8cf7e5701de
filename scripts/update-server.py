#!/usr/bin/env python3
"""A tiny update server for trying the update check by hand.

    scripts/update-server.py [--port 8123] [--version 2.1] [--program FILE]
                             [--updater FILE] [--folder DIR]
    scripts/update-server.py --root dist/update [--port 8123]

Serves, on 127.0.0.1:PORT (Python standard library only):

    /vak/update.ini      the update information, naming the three files below
    /vak/update_de.html  a version history page
    /files/...           the new program, the updater and the English language
                         file (res/engl.lng)

By default the new program is build/win/bin/vak.exe and the updater
build/win/bin/updater.exe (build them first: cmake --build --preset win).
With --folder, the files of that folder are served under /files/ as well.

With --root, it serves the files of that folder instead, as they are on disk
at each request: dist/update as scripts/release wrote it is the update
server of that release (its update.ini names the downloads under the
release's --base-url, e.g. http://127.0.0.1:8123).

Then start VAK with the server named in VAK_UPDATE_SERVER, for example

    VAK_UPDATE_SERVER=http://127.0.0.1:8123 wine vak.exe

and use "?" -> "auf Updates prüfen". Every request is logged on stderr.
"""
import argparse
import http.server
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


HISTORY = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Meldewart für ICQ – Versionshistory</title></head>
<body>
<h1>Versionshistory</h1>
<h2>Version {version}</h2>
<ul><li>Neue Version zum Ausprobieren des Updates.</li></ul>
<h2>Version 2.0 RC3</h2>
<ul><li>Sounds und Smileys austauschen</li><li>Automatische Updateprüfung</li></ul>
</body></html>
"""


def serve_folder(root, port):
    root = os.path.abspath(root)
    if not os.path.isfile(os.path.join(root, "vak", "update.ini")):
        sys.exit("update-server.py: %s has no vak/update.ini (scripts/release writes dist/update)" % root)

    # Files with their Content-Length (http.server sends it), so that a client
    # can tell a complete answer from a cut-off one.
    class Handler(http.server.SimpleHTTPRequestHandler):
        extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                              **{".ini": "text/plain", ".lng": "text/plain"})

        def __init__(self, *a, **kw):
            super().__init__(*a, directory=root, **kw)

        def list_directory(self, path):
            self.send_error(404)
            return None

    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    base = "http://127.0.0.1:%d" % server.server_address[1]
    print("Update server on %s serving %s; VAK_UPDATE_SERVER=%s" % (base, root, base), file=sys.stderr, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=8123)
    parser.add_argument("--root", help="serve this folder (e.g. dist/update) instead of made-up answers")
    parser.add_argument("--version", help='announced version ("#01", default 2.1); "" leaves it out')
    parser.add_argument("--program", help="the new program (default build/win/bin/vak.exe)")
    parser.add_argument("--updater", help="the updater (default build/win/bin/updater.exe)")
    parser.add_argument("--folder", help="more files to serve under /files/")
    args = parser.parse_args()
    if args.root is not None:
        if any(v is not None for v in (args.version, args.program, args.updater, args.folder)):
            parser.error("--root serves the folder as it is: --version, --program, --updater and --folder do not apply")
        serve_folder(args.root, args.port)
        return
    if args.version is None:
        args.version = "2.1"
    args.program = args.program or os.path.join(ROOT, "build/win/bin/vak.exe")
    args.updater = args.updater or os.path.join(ROOT, "build/win/bin/updater.exe")

    files = {}
    for name, path in (("ICQ-Meldewart.exe", args.program), ("updater.exe", args.updater)):
        with open(path, "rb") as f:
            files["/files/" + name] = (f.read(), "application/octet-stream")
    with open(os.path.join(ROOT, "res/engl.lng"), encoding="utf-8") as f:
        language = f.read().replace("@VERSION@", args.version or "2.0").replace("\n", "\r\n")
    files["/files/engl.lng"] = (language.encode("cp1252"), "text/plain")
    if args.folder:
        for name in os.listdir(args.folder):
            path = os.path.join(args.folder, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    files["/files/" + name] = (f.read(), "application/octet-stream")

    base = "http://127.0.0.1:%d" % args.port
    total_kb = (sum(len(body) for body, _ in files.values()) + 1023) // 1024
    info = "[Update]\r\n"
    if args.version:
        info += "#01=%s\r\n" % args.version
    info += "#03=%s/files/ICQ-Meldewart.exe\r\n" % base
    info += "#04=%s/files/updater.exe\r\n" % base
    info += "#05=%dKB\r\n" % total_kb
    info += "#06=%s/files/engl.lng\r\n" % base
    files["/vak/update.ini"] = (info.encode("cp1252"), "text/plain")
    files["/vak/update_de.html"] = (HISTORY.format(version=args.version or "2.0").encode("utf-8"),
                                    "text/html; charset=utf-8")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            entry = files.get(self.path.split("?")[0])
            if entry is None:
                self.send_error(404)
                return
            body, kind = entry
            self.send_response(200)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    print("Update server on %s (announces %r); VAK_UPDATE_SERVER=%s" % (base, args.version, base), file=sys.stderr)
    for path in sorted(files):
        print("  %s (%d bytes)" % (path, len(files[path][0])), file=sys.stderr)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
