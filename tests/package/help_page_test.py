#!/usr/bin/env python3
"""Shows the packed help page in headless Chromium, as wide as a small laptop's window
(1024 px) and as a phone (390 px), and checks what a reader gets:

    help_page_test.py HELP.html SCREENSHOT_FOLDER

every picture loaded (natural width above 0), nothing wider than the window (no
sideways scrolling), and the sections in order. Saves a full-page screenshot at each
width, help-1024.png and help-390.png, in SCREENSHOT_FOLDER. Chromium is driven
through its DevTools protocol over a pipe. Then axe-core checks the page at both widths
against WCAG 2.1 A and AA (help_page_axe.mjs, with the Node packages that
scripts/install-deps.sh installs here). Exits non-zero with every fault listed.
"""
import base64
import json
import os
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
WIDTHS = (1024, 390)
SECTIONS = ["about", "start", "file", "sounds", "buttons", "nenga-check", "never", "trouble"]
TIMEOUT_S = 60

MEASURE = """(() => {
  const imgs = [...document.images];
  return JSON.stringify({
    lang: document.documentElement.lang,
    images: imgs.map(i => ({alt: i.alt, width: i.naturalWidth, complete: i.complete})),
    scrollWidth: document.documentElement.scrollWidth,
    viewport: window.innerWidth,
    widest: [...document.body.querySelectorAll('*')]
      .filter(e => e.getBoundingClientRect().right > WIDTH + 0.5)
      .slice(0, 5).map(e => e.tagName + ' ' + (e.textContent || '').slice(0, 30)),
    sections: [...document.querySelectorAll('h2[id]')].map(h => h.id),
    unnamedScrolling: [...document.querySelectorAll('pre')]
      .filter(e => e.scrollWidth > e.clientWidth)
      .filter(e => !(e.tabIndex >= 0 && e.getAttribute('aria-label')))
      .map(e => e.textContent.slice(0, 30)),
  });
})()"""


class Browser:
    """Chromium with the DevTools protocol on file descriptors 3 (in) and 4 (out)."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory()
        to_chrome_r, self.to_chrome = os.pipe()
        self.from_chrome, from_chrome_w = os.pipe()
        def child_fds():
            os.dup2(to_chrome_r, 3)
            os.dup2(from_chrome_w, 4)

        args = ["chromium", "--headless=new", "--remote-debugging-pipe", "--no-first-run",
                "--disable-gpu", "--hide-scrollbars", "--mute-audio", "--no-default-browser-check",
                f"--user-data-dir={self.profile.name}", "about:blank"]
        if os.geteuid() == 0:
            args.insert(1, "--no-sandbox")  # Chromium refuses root otherwise
        # The child closes every other descriptor after child_fds has run.
        self.process = subprocess.Popen(args, preexec_fn=child_fds, pass_fds=(3, 4),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_chrome_r)
        os.close(from_chrome_w)
        self.buffer = b""
        self.next_id = 0
        self.session = None

    def close(self):
        try:
            self.send("Browser.close")
        except OSError:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        os.close(self.to_chrome)
        os.close(self.from_chrome)
        self.profile.cleanup()

    def _read_message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_chrome, 1 << 16)
            if not chunk:
                raise RuntimeError("Chromium closed its DevTools pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=True, wait_event=None):
        """Sends a command; returns its result (and the event waited for, if any)."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_chrome, json.dumps(message).encode() + b"\0")
        result, event = None, None
        while result is None or (wait_event and event is None):
            reply = self._read_message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                result = reply["result"]
            elif wait_event and reply.get("method") == wait_event:
                event = reply
        return result

    def open_page(self):
        target = self.send("Target.createTarget", {"url": "about:blank"}, session=False)
        self.session = self.send("Target.attachToTarget",
                                 {"targetId": target["targetId"], "flatten": True},
                                 session=False)["sessionId"]
        self.send("Page.enable")


def check_width(browser, url, width, shots, faults):
    browser.send("Emulation.setDeviceMetricsOverride",
                 {"width": width, "height": 800, "deviceScaleFactor": 1, "mobile": width < 500})
    browser.send("Page.navigate", {"url": url}, wait_event="Page.loadEventFired")
    measure = MEASURE.replace("WIDTH", str(width))
    seen = json.loads(browser.send("Runtime.evaluate",
                                   {"expression": measure, "returnByValue": True})["result"]["value"])
    where = f"at {width} px"
    if seen["lang"] != "ja":
        faults.append(f"{where}: the page's language is {seen['lang']!r}")
    if len(seen["images"]) < 3:
        faults.append(f"{where}: {len(seen['images'])} pictures, want the 3 windows")
    for image in seen["images"]:
        if not image["complete"] or image["width"] <= 0:
            faults.append(f"{where}: picture not loaded: {image['alt'][:30]}")
    # A phone zooms out to show a page wider than itself, so the window's own width
    # can grow with the page: the width asked for is the measure.
    if seen["scrollWidth"] > width or seen["viewport"] != width:
        faults.append(f"{where}: scrolls sideways, {seen['scrollWidth']} px wide, window "
                      f"{seen['viewport']} px: {seen['widest']}")
    # An example that scrolls sideways is a stop of the Tab key, named for a screen reader.
    if seen["unnamedScrolling"]:
        faults.append(f"{where}: examples that scroll but are not named keyboard stops: "
                      f"{seen['unnamedScrolling']}")
    if seen["sections"][-len(SECTIONS):] != SECTIONS:
        faults.append(f"{where}: sections {seen['sections']}, want {SECTIONS}")
    shot = browser.send("Page.captureScreenshot", {"format": "png", "captureBeyondViewport": True})
    file = shots / f"help-{width}.png"
    file.write_bytes(base64.b64decode(shot["data"]))
    print(f"help page at {width} px: {len(seen['images'])} pictures, {seen['scrollWidth']} px "
          f"wide, screenshot {file}")


def check_accessibility(page, faults):
    """axe-core's verdict at each width: its counts printed, its faults added."""
    try:
        run = subprocess.run(["node", str(HERE / "help_page_axe.mjs"), str(page),
                              *map(str, WIDTHS)], capture_output=True, text=True,
                             timeout=TIMEOUT_S * 2)
    except (OSError, subprocess.TimeoutExpired) as e:
        return faults.append(f"axe-core did not run: {e}")
    print(run.stdout, end="")
    found = [line.removeprefix("FAULT: ") for line in run.stderr.splitlines()
             if line.startswith("FAULT: ")]
    if run.returncode != 0 and not found:
        found = [f"axe-core did not run (exit status {run.returncode}): "
                 f"{run.stderr.strip()[-500:]}"]
    faults.extend(found)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    page = Path(argv[1]).resolve()
    shots = Path(argv[2])
    shots.mkdir(parents=True, exist_ok=True)
    faults = []
    browser = Browser()
    try:
        browser.open_page()
        for width in WIDTHS:
            check_width(browser, page.as_uri(), width, shots, faults)
    finally:
        browser.close()
    check_accessibility(page, faults)
    for f in faults:
        print("FAULT:", f, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
