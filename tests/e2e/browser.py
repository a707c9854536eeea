"""The page in a headless Chromium of its own, served on 127.0.0.1: pressed, its canvas read,
its console read as the game's log."""

import base64
import functools
import http.server
import os
import re
import shutil
import sys
import tempfile
import threading

from desktop import Played, Shot, wait_until

CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
except ImportError:
    webdriver = None

# The canvas as packed RGB rows, in base64: a WebDriver answer of one number a byte is slow.
CANVAS = """const c = document.getElementById('board'), d = c.width && c.getContext('2d')
    .getImageData(0, 0, c.width, c.height).data, rgb = new Uint8Array(d ? d.length / 4 * 3 : 0);
for (let i = 0, j = 0; j < rgb.length; i += 4, j += 3) rgb.set(d.subarray(i, i + 3), j);
let text = '';
for (let i = 0; i < rgb.length; i += 30000)
  text += String.fromCharCode(...rgb.subarray(i, i + 30000));
return [c.width, c.height, btoa(text)];"""


def skip_without_chromium():
    missing = [p for p in (CHROMIUM, DRIVER) if not os.access(p, os.X_OK)]
    if webdriver is None:
        missing.append("Selenium for %s (python3-selenium)" % sys.executable)
    if missing:
        print("SKIP: no browser to test the page in: missing %s" % ", ".join(missing))
        sys.exit(77)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


class Page(Played):
    """index.html?`query` with a client area of `client` pixels; `before` runs in the page
    ahead of the page's own scripts. Everything it starts ends with close()."""

    def __init__(self, www, out, query="", client=(800, 559), before=""):
        super().__init__(out, "page.log")
        self.errors = []  # the page's own, as the console tells them
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Quiet, directory=www))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.profile = tempfile.mkdtemp(prefix="tessaform-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        # No name resolves but our address: nothing leaves this machine.
        for argument in ("headless=new", "no-sandbox", "disable-gpu", "no-first-run",
                         "disable-background-networking", "disable-component-update",
                         "disable-sync", "host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
                         "user-data-dir=" + self.profile):
            options.add_argument("--" + argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(options=options, service=Service(
            DRIVER, log_path=os.path.join(out, "chromedriver.log")))
        if before:
            self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                        {"source": before})
        self.driver.get("http://127.0.0.1:%d/index.html?%s" % (self.server.server_port, query))
        self.resize(*client)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def resize(self, width, height):
        """The window sized for a client area of width x height below the menu bar."""
        dx, dy = self.js("return [outerWidth - innerWidth, outerHeight - innerHeight"
                         " + document.getElementById('menubar').offsetHeight]")
        self.driver.set_window_size(width + dx, height + dy)

    def touch(self):
        """The first touch once the page asks for it, as a player's: sound may start."""
        prompt = self.driver.find_element("id", "touch")
        wait_until("the prompt to touch", lambda: prompt.text.startswith("Click"))
        prompt.click()
        return self

    def more(self):
        for entry in self.driver.get_log("browser"):
            if entry["source"] == "rendering":  # Chromium's advice on reading the canvas
                continue
            # The game's lines come quoted after the script's place.
            line = re.search(r'"(.*)"$', entry["message"])
            self.add(line[1] if line else entry["message"])
            if entry["level"] == "SEVERE":
                self.errors.append(self.lines[-1])
        return True

    def locate(self, width, height):
        self.view = tuple(self.js("const r = document.getElementById('board')"
                                  ".getBoundingClientRect(); return [r.left, r.top]"))

    def canvas(self):
        width, height, rgb = self.js(CANVAS)
        return width, height, base64.b64decode(rgb)

    def shot(self):
        """The canvas where it lies in the page, above it black; the log read up to it."""
        self.more()
        width, height, rgb = self.canvas()
        top = int(self.view[1])
        return Shot(b"P6 %d %d 255\n" % (width, top + height) + bytes(3 * width * top) + rgb)

    def actions(self):
        """Pointer actions at the page's CSS pixels, sent by perform()."""
        return ActionBuilder(self.driver)

    def press(self, x, y):
        act = self.actions()
        act.pointer_action.move_to_location(x, y).click()
        act.perform()

    def close(self):
        """Ends the browser: the page must have reported no error."""
        self.more()
        self.driver.quit()
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)
        assert not self.errors, "the page's errors:\n" + "\n".join(self.errors)
