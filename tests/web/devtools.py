#!/usr/bin/python3
"""Drives a headless Chromium through its DevTools protocol for the results
page's end-to-end test.

  devtools.py open PORTFILE URL             loads the page in a phone-sized view
  devtools.py wait PORTFILE EXPR VALUE MS   waits until EXPR evaluates to VALUE
  devtools.py press PORTFILE KEY EXPR VALUE MS
                                            presses KEY in the program (xdotool),
                                            then waits as above; prints the ms taken
  devtools.py text PORTFILE                 prints document.body.innerText
  devtools.py shot PORTFILE FILE            saves a screenshot of the page

PORTFILE is Chromium's DevToolsActivePort (it was started with
--remote-debugging-port=0). Exit 1 when a wait runs out.
"""
import base64
import json
import subprocess
import sys
import time
import urllib.request

import websocket


class Page:
    def __init__(self, port_file):
        deadline = time.monotonic() + 20
        while True:
            try:
                port = int(open(port_file).readline())
                targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=5))
                page = next(t for t in targets if t["type"] == "page")
                break
            except (OSError, ValueError, StopIteration):
                if time.monotonic() > deadline:
                    sys.exit("not ok - Chromium's DevTools did not come up")
                time.sleep(0.05)
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=10, suppress_origin=True)
        self.next_id = 0
        # A phone's screen; the emulation lasts as long as this connection.
        self.call("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=2, mobile=True)

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            reply = json.loads(self.ws.recv())
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    sys.exit(f"not ok - {method}: {reply['error']}")
                return reply["result"]

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)["result"]
        return result.get("value")

    def wait(self, expression, value, ms):
        deadline = time.monotonic() + ms / 1000
        while True:
            got = self.evaluate(expression)
            # Compared as JSON writes it: true, 10, or the text itself.
            if (got if isinstance(got, str) else json.dumps(got)) == value:
                return True
            if time.monotonic() > deadline:
                print(f"waited {ms} ms for {expression} to be {value!r}; it is {got!r}")
                print("page text:", self.evaluate("document.body.innerText"))
                return False
            time.sleep(0.01)


def main(argv):
    command, port_file, *args = argv[1:]
    page = Page(port_file)
    if command == "open":
        page.call("Page.enable")
        page.call("Page.navigate", url=args[0])
        return 0 if page.wait("document.readyState", "complete", 10000) else 1
    if command == "wait":
        return 0 if page.wait(args[0], args[1], int(args[2])) else 1
    if command == "press":
        key, expression, value, ms = args[0], args[1], args[2], int(args[3])
        start = time.monotonic()
        subprocess.run(["xdotool", "key", "--delay", "0", key], check=True)
        ok = page.wait(expression, value, ms)
        print(f"{key}: on the page after {(time.monotonic() - start) * 1000:.0f} ms")
        return 0 if ok else 1
    if command == "text":
        print(page.evaluate("document.body.innerText"))
        return 0
    if command == "shot":
        shot = page.call("Page.captureScreenshot", format="png")
        with open(args[0], "wb") as out:
            out.write(base64.b64decode(shot["data"]))
        return 0
    sys.exit(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
