# The page in a headless Chromium of its own, served on 127.0.0.1: pressed, its canvas read, its
# console read as the game's log.

import base64
import functools
import http.server
import os
import re
import subprocess
import sys
import threading

from desktop import Played, Shot, wait_until

CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
except ImportError:
    webdriver = None


def skip_without_chromium():
    missing = [p for p in (CHROMIUM, DRIVER) if not os.access(p, os.X_OK)]
    missing += [] if webdriver else ["Selenium for %s (python3-selenium)" % sys.executable]
    if missing:
        print("SKIP: no browser to test the page in: missing %s" % ", ".join(missing))
        sys.exit(77)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


class Page(Played):
    # index.html?`query` with a client area of `client` pixels; `before` runs in the page ahead
    # of the page's own scripts. Everything it starts ends with close().

    def __init__(self, www, out, query="", client=(800, 559), before=""):
        super().__init__(out, "page.log")
        self.errors = []  # the page's own, as the console tells them
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Quiet, directory=www))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        # No name resolves but our address: nothing leaves this machine.
        for argument in ("headless=new", "no-sandbox", "disable-gpu", "no-first-run",
                         "disable-background-networking", "disable-component-update",
                         "disable-sync", "host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"):
            options.add_argument("--" + argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(options=options, service=Service(
            DRIVER, log_path=os.path.join(out, "chromedriver.log")))
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": before})
        self.driver.get("http://127.0.0.1:%d/index.html?%s" % (self.server.server_port, query))
        self.resize(*client)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def resize(self, width, height):  # the client area below the menu bar
        dx, dy = self.js("return [outerWidth - innerWidth, outerHeight - innerHeight"
                         " + document.getElementById('menubar').offsetHeight]")
        self.driver.set_window_size(width + dx, height + dy)

    def touch(self):  # the first, once the page asks for it, as a player's: sound may start
        prompt = self.driver.find_element("id", "touch")
        wait_until("the prompt to touch", lambda: prompt.text.startswith("Click"))
        prompt.click()
        return self

    def more(self):
        for entry in self.driver.get_log("browser"):
            # The game's lines come quoted after the script's place.
            line = re.search(r'"(.*)"$', entry["message"])
            self.add(line[1] if line else entry["message"])
            if entry["level"] == "SEVERE":
                self.errors.append(self.lines[-1])
        return True

    def words(self):  # the canvas's content, which screen readers read in its place
        return self.js("return [...document.querySelectorAll('#words li')].map(i => i.textContent)")

    def locate(self, width, height):
        self.view = tuple(self.js("const r = document.getElementById('board')"
                                  ".getBoundingClientRect(); return [r.left, r.top]"))

    def canvas(self, top=0):  # its pixels, below `top` black rows
        png = self.js("return document.getElementById('board').toDataURL()")
        if png == "data:,":  # nothing shown yet
            return Shot(b"P6 0 0 255\n")
        return Shot(subprocess.run(["convert", "png:-", "-background", "black", "-splice",
                                    "0x%d" % top, "-depth", "8", "ppm:-"], capture_output=True,
                                   input=base64.b64decode(png.split(",")[1]), check=True).stdout)

    def shot(self):  # the canvas where it lies in the page, the log read up to it
        self.more()
        return self.canvas(int(self.view[1]))

    def actions(self):  # pointer actions at the page's CSS pixels, sent by perform()
        return ActionBuilder(self.driver)

    def press(self, x, y):
        act = self.actions()
        act.pointer_action.move_to_location(x, y).click()
        act.perform()

    def close(self):  # the browser's end: the page must have reported no error
        self.more()
        self.driver.quit()
        self.server.shutdown()
        assert not self.errors, "the page's errors:\n" + "\n".join(self.errors)
